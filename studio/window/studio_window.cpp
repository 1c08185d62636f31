#include "studio/window/studio_window.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QColor>
#include <QComboBox>
#include <QCoreApplication>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

#include "data/numbers.h"
#include "media/qt_settings_store.h"
#include "persist/settings.h"
#include "studio/core/calibration.h"
#include "studio/core/route_file_io.h"
#include "studio/window/calibration_dialog.h"
#include "studio/window/timeline_view.h"
#include "tools/check/file_kind.h"

namespace velimoro::studio {
namespace {

QString text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

std::string lowered(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

bool isVideo(const std::string& path) {
  const std::string lower = lowered(path);
  for (const char* ending : {".avi", ".mp4", ".mkv", ".webm", ".mov", ".mpg", ".ogv"})
    if (lower.ends_with(ending)) return true;
  return false;
}

// The cab program: beside the studio where both are installed, else the one of the build tree
// the studio was built in, else the first on the PATH.
QString cabProgram() {
  const QString beside = QCoreApplication::applicationDirPath() + "/velimoro";
  if (QFileInfo(beside).isExecutable()) return beside;
#ifdef VELIMORO_CAB_EXE
  if (QFileInfo(VELIMORO_CAB_EXE).isExecutable()) return VELIMORO_CAB_EXE;
#endif
  return QStandardPaths::findExecutable("velimoro");
}

}  // namespace

StudioWindow::StudioWindow(bool askQuestions) : m_ask(askQuestions) {
  launch = [](const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
  };
  setWindowTitle(tr("路線スタジオ"));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  m_picture = new QLabel(central);
  m_picture->setMinimumSize(480, 300);
  m_picture->setAlignment(Qt::AlignCenter);
  m_picture->setStyleSheet("background: #202020; color: #c0c0c0;");
  m_picture->setText(tr("路線ファイルか動画を開いてください（ファイル メニュー）"));
  layout->addWidget(m_picture, 1);

  auto* controls = new QHBoxLayout();
  const auto button = [&](const QString& caption, auto action) {
    auto* b = new QPushButton(caption, central);
    b->setFocusPolicy(Qt::NoFocus);
    connect(b, &QPushButton::clicked, this, action);
    controls->addWidget(b);
  };
  button("◀◀ 4×", [this] { play(-4); });
  button("◀◀ 2×", [this] { play(-2); });
  button("◀ 1×", [this] { play(-1); });
  button("|◀", [this] { goToFrame(m_frame - 1); });
  button("■", [this] { play(0); });
  button("▶|", [this] { goToFrame(m_frame + 1); });
  button("▶ 1×", [this] { play(1); });
  button("▶▶ 2×", [this] { play(2); });
  button("▶▶ 4×", [this] { play(4); });
  controls->addWidget(new QLabel(tr("フレーム"), central));
  m_frameBox = new QSpinBox(central);
  m_frameBox->setRange(0, 0);
  connect(m_frameBox, &QSpinBox::editingFinished, this, [this] { goToFrame(m_frameBox->value()); });
  controls->addWidget(m_frameBox);
  controls->addWidget(new QLabel(tr("時刻 (秒)"), central));
  m_timeBox = new QLineEdit(central);
  m_timeBox->setMaximumWidth(80);
  connect(m_timeBox, &QLineEdit::returnPressed, this, [this] {
    if (const auto s = parseReal(m_timeBox->text().toStdString()))
      goToFrame(static_cast<int>(std::lround(*s * m_fps)));
  });
  controls->addWidget(m_timeBox);
  controls->addStretch(1);
  layout->addLayout(controls);
  m_position = new QLabel(central);
  layout->addWidget(m_position);
  m_timeline = new TimelineView(central);
  m_timeline->frameChosen = [this](int frame) { goToFrame(frame); };
  m_timeline->markChosen = [this](const RecordMark& mark) { selectRecord(mark.kind, mark.index); };
  layout->addWidget(m_timeline);
  setCentralWidget(central);

  auto* dock = new QDockWidget(tr("記録の配置"), this);
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  auto* panel = new QWidget(dock);
  auto* form = new QFormLayout(panel);
  buildPalette(panel, form);
  dock->setWidget(panel);
  addDockWidget(Qt::RightDockWidgetArea, dock);

  auto* checks = new QDockWidget(tr("データ検査"), this);
  checks->setFeatures(QDockWidget::NoDockWidgetFeatures);
  m_findingList = new QListWidget(checks);
  m_findingList->setMinimumHeight(90);
  connect(m_findingList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    const int row = m_findingList->row(item);
    if (row < 0 || row >= static_cast<int>(m_findings.size())) return;
    if (const auto frame = m_findings[static_cast<std::size_t>(row)].frame) goToFrame(*frame);
  });
  checks->setWidget(m_findingList);
  addDockWidget(Qt::BottomDockWidgetArea, checks);
  buildMenus();

  connect(&m_player, &QTimer::timeout, this, [this] {
    const int next = std::clamp(m_frame + m_speed, 0, std::max(0, m_frames - 1));
    if (next == m_frame) play(0);
    goToFrame(next);
  });
  connect(&m_autosave, &QTimer::timeout, this, [this] { autosave(); });
  m_autosave.start(60 * 1000);
  // The check runs once the author pauses: typing or undoing in a row checks once.
  m_checkLater.setSingleShot(true);
  m_checkLater.setInterval(400);
  connect(&m_checkLater, &QTimer::timeout, this, [this] { checkNow(); });
  refresh();
}

StudioWindow::~StudioWindow() = default;

void StudioWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(tr("ファイル(&F)"));
  file->addAction(tr("開く(&O)…"), QKeySequence::Open, this, [this] {
    if (!mayDiscard()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("路線ファイルか動画を開く"), {},
        tr("路線と動画 (*.dat *.avi *.mp4 *.mkv *.webm *.mov);;すべてのファイル (*)"));
    if (!path.isEmpty()) openFile(path.toStdString());
  });
  file->addAction(tr("保存(&S)"), QKeySequence::Save, this, [this] { save(); });
  file->addAction(tr("名前を付けて保存(&A)…"), QKeySequence::SaveAs, this, [this] {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("路線を保存"), {}, tr("路線 (*.dat)"));
    if (!path.isEmpty()) saveAs(path.toStdString());
  });
  file->addSeparator();
  file->addAction(tr("終了(&Q)"), QKeySequence::Quit, this, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(tr("編集(&E)"));
  edit->addAction(tr("元に戻す(&U)"), QKeySequence::Undo, this, [this] {
    clearSelection();
    if (m_editor.undo()) refresh();
  });
  edit->addAction(tr("やり直す(&R)"), QKeySequence::Redo, this, [this] {
    clearSelection();
    if (m_editor.redo()) refresh();
  });
  edit->addSeparator();
  // A text field that has the focus keeps Delete and Escape for itself.
  edit->addAction(tr("選んだ記録を削除(&R)"), QKeySequence::Delete, this,
                  [this] { removeSelected(); });
  edit->addAction(tr("選んだ記録を離す(&L)"), QKeySequence(Qt::Key_Escape), this,
                  [this] { clearSelection(); });
  edit->addSeparator();
  edit->addAction(tr("距離の較正(&K)…"), QKeySequence(Qt::CTRL | Qt::Key_K), this,
                  [this] { openCalibration(); });

  QMenu* drive = menuBar()->addMenu(tr("運転(&D)"));
  drive->addAction(tr("ここから運転(&D)"), QKeySequence(Qt::Key_F5), this,
                   [this] { driveFromHere(); });
  m_trainMenu = drive->addMenu(tr("車両(&T)"));

  // Ctrl+1 … Ctrl+9 open the form of a kind at the current frame.
  QMenu* place = menuBar()->addMenu(tr("配置(&P)"));
  int n = 1;
  for (RecordKind kind : kAllRecordKinds) {
    place->addAction(text(captionOf(kind)),
                     QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + n++)), this,
                     [this, kind] { choosePaletteKind(kind); });
  }
  // The language's entry reads the same in every language, so that it is found in either.
  QMenu* display = menuBar()->addMenu(tr("表示(&V)"));
  QMenu* languages = display->addMenu(QString::fromUtf8(media::kLanguageMenuCaption));
  auto* group = new QActionGroup(languages);
  for (const auto& [language, name] : media::kLanguageNames) {
    QAction* action = languages->addAction(QString::fromUtf8(name), this,
                                           [this, language] { keepLanguage(language); });
    action->setCheckable(true);
    action->setChecked(language == media::currentLanguage());
    group->addAction(action);
  }

  // The window holds the actions too, so that their keys work wherever its focus is.
  for (QMenu* menu : {file, edit, drive, place})
    addActions(menu->actions());
}

void StudioWindow::buildPalette(QWidget* parent, QFormLayout* layout) {
  m_kinds = new QComboBox(parent);
  for (RecordKind kind : kAllRecordKinds)
    m_kinds->addItem(text(captionOf(kind)));
  connect(m_kinds, &QComboBox::currentIndexChanged, this, [this] {
    clearSelection();
    showPaletteFields();
  });
  layout->addRow(tr("記録"), m_kinds);
  auto* fields = new QWidget(parent);
  m_form = new QFormLayout(fields);
  m_form->setContentsMargins(0, 0, 0, 0);
  layout->addRow(fields);
  m_check = new QLabel(parent);
  m_check->setWordWrap(true);
  layout->addRow(m_check);
  auto* placeButton = new QPushButton(tr("このフレームに配置 (Enter)"), parent);
  m_placeButton = placeButton;
  connect(placeButton, &QPushButton::clicked, this, [this] {
    // A chosen record's fields place a new record at the current frame; the chosen one stays.
    if (m_selected) {
      const auto kind = m_selected->first;
      m_selected.reset();
      m_selectedLabel->clear();
      m_selectedButtons->hide();
      m_placeButton->setText(tr("このフレームに配置 (Enter)"));
      m_fields[frameFieldOf(kind)]->setText(QString::number(m_frame));
    }
    placeFromPalette();
  });
  layout->addRow(placeButton);
  // A record chosen on the timeline: its fields are in the form above.
  m_selectedLabel = new QLabel(parent);
  m_selectedLabel->setWordWrap(true);
  layout->addRow(m_selectedLabel);
  m_selectedButtons = new QWidget(parent);
  auto* buttons = new QHBoxLayout(m_selectedButtons);
  buttons->setContentsMargins(0, 0, 0, 0);
  auto* apply = new QPushButton(tr("適用 (Enter)"), m_selectedButtons);
  connect(apply, &QPushButton::clicked, this, [this] { applyToSelected(); });
  buttons->addWidget(apply);
  auto* remove = new QPushButton(tr("削除 (Delete)"), m_selectedButtons);
  connect(remove, &QPushButton::clicked, this, [this] { removeSelected(); });
  buttons->addWidget(remove);
  auto* leave = new QPushButton(tr("離す (Esc)"), m_selectedButtons);
  connect(leave, &QPushButton::clicked, this, [this] { clearSelection(); });
  buttons->addWidget(leave);
  layout->addRow(m_selectedButtons);
  m_selectedButtons->hide();
  showPaletteFields();
}

void StudioWindow::choosePaletteKind(RecordKind kind) {
  clearSelection();
  m_kinds->setCurrentIndex(static_cast<int>(kind));
  showPaletteFields();
  if (!m_fields.empty()) m_fields.front()->setFocus();
}

void StudioWindow::showPaletteFields() {
  while (m_form->rowCount() > 0)
    m_form->removeRow(0);
  m_fields.clear();
  const auto kind = static_cast<RecordKind>(std::max(0, m_kinds->currentIndex()));
  for (const FieldSpec& f : fieldsOf(kind)) {
    auto* edit = new QLineEdit(m_form->parentWidget());
    edit->setMinimumWidth(120);
    const QString caption = text(fieldCaption(f));
    connect(edit, &QLineEdit::textChanged, this, [this] { checkPalette(); });
    connect(edit, &QLineEdit::returnPressed, this, [this] { placeFromPalette(); });
    m_form->addRow(caption, edit);
    edit->show();  // at once, so that it can take the focus
    m_fields.push_back(edit);
  }
  resetPaletteFields();
}

void StudioWindow::resetPaletteFields() {
  const auto kind = static_cast<RecordKind>(std::max(0, m_kinds->currentIndex()));
  const auto& specs = fieldsOf(kind);
  for (std::size_t i = 0; i < m_fields.size() && i < specs.size(); ++i) {
    if (specs[i].frame)
      m_fields[i]->setText(QString::number(m_frame));
    else
      m_fields[i]->setText(specs[i].type == FieldSpec::Type::kText ? QString() : QString("0"));
  }
  checkPalette();
}

void StudioWindow::checkPalette() {
  std::vector<std::string> values;
  for (QLineEdit* f : m_fields)
    values.push_back(f->text().toStdString());
  const std::string fault =
      checkFields(static_cast<RecordKind>(std::max(0, m_kinds->currentIndex())), values);
  m_check->setText(fault.empty() ? tr("配置できます") : text(fault));
  m_check->setStyleSheet(fault.empty() ? "color: #207020;" : "color: #b02020;");
}

bool StudioWindow::selectRecord(RecordKind kind, int index) {
  const std::vector<std::string> values = m_editor.fields(kind, index);
  if (values.empty()) return false;
  if (m_kinds->currentIndex() != static_cast<int>(kind)) {
    const QSignalBlocker quiet(m_kinds);
    m_kinds->setCurrentIndex(static_cast<int>(kind));
    showPaletteFields();
  }
  m_selected = {kind, index};
  for (std::size_t i = 0; i < m_fields.size() && i < values.size(); ++i)
    m_fields[i]->setText(text(values[i]));
  m_selectedLabel->setText(tr("%1 %2 を選びました。欄を変えて適用するか、削除してください")
                               .arg(text(captionOf(kind)))
                               .arg(index + 1));
  m_selectedButtons->show();
  m_placeButton->setText(tr("このフレームに新しく配置"));
  return true;
}

void StudioWindow::clearSelection() {
  if (!m_selected) return;
  m_selected.reset();
  m_selectedLabel->clear();
  m_selectedButtons->hide();
  m_placeButton->setText(tr("このフレームに配置 (Enter)"));
  // The fields stay (Enter in one of them may have applied the record): they only start afresh.
  resetPaletteFields();
}

bool StudioWindow::applyToSelected() {
  if (!m_selected) return false;
  std::vector<std::string> values;
  for (QLineEdit* f : m_fields)
    values.push_back(f->text().toStdString());
  std::string error;
  const auto [kind, index] = *m_selected;
  if (!m_editor.edit(kind, index, values, error)) {
    statusBar()->showMessage(text(error));
    return false;
  }
  statusBar()->showMessage(tr("%1 %2 を変更しました").arg(text(captionOf(kind))).arg(index + 1));
  clearSelection();
  refresh();
  return true;
}

bool StudioWindow::removeSelected() {
  if (!m_selected) return false;
  const auto [kind, index] = *m_selected;
  if (!m_editor.remove(kind, index)) return false;
  statusBar()->showMessage(tr("%1 %2 を削除しました").arg(text(captionOf(kind))).arg(index + 1));
  clearSelection();
  refresh();
  return true;
}

void StudioWindow::placeFromPalette() {
  if (m_selected) {
    applyToSelected();
    return;
  }
  std::vector<std::string> values;
  for (QLineEdit* f : m_fields)
    values.push_back(f->text().toStdString());
  std::string error;
  const auto kind = static_cast<RecordKind>(std::max(0, m_kinds->currentIndex()));
  if (!m_editor.place(kind, values, error)) {
    statusBar()->showMessage(text(error));
    return;
  }
  statusBar()->showMessage(tr("フレーム %2 に%1を配置しました")
                               .arg(text(captionOf(kind)))
                               .arg(values[frameFieldOf(kind)].c_str()));
  refresh();
}

bool StudioWindow::openFile(const std::string& path) {
  std::string error;
  std::string videoPath;
  RouteDocument document;
  if (isVideo(path)) {
    videoPath = path;
  } else {
    auto opened = openRouteDocument(path, error);
    if (!opened) {
      statusBar()->showMessage(text(error));
      return false;
    }
    document = std::move(*opened);
    videoPath = routeVideoPath(path, document);
    m_routePath = path;
  }
  if (isVideo(path)) m_routePath.clear();
  clearSelection();
  m_editor = RouteEditor(std::move(document));
  if (const auto rate = m_editor.document().value(RouteSection::kFrameRate, 0))
    if (const auto fps = parseInt(*rate); fps && *fps > 0) m_fps = *fps;
  m_video.reset();
  m_frames = 0;
  m_videoPath = videoPath;
  m_frameCounts.clear();
  if (!videoPath.empty()) {
    auto video = std::make_unique<media::FfmpegVideoReader>();
    if (video->open(videoPath, error)) {
      m_frames = video->frameCount();
      m_video = std::move(video);
    } else {
      statusBar()->showMessage(text(videoPath + ": " + error));
    }
  }
  m_frame = 0;
  delete m_calibration;
  m_calibration = nullptr;
  findTrains();
  setWindowTitle(tr("路線スタジオ - %1").arg(text(m_routePath.empty() ? path : m_routePath)));
  refresh();
  return true;
}

bool StudioWindow::save() {
  if (m_routePath.empty()) {
    if (!m_ask) return false;
    const QString path =
        QFileDialog::getSaveFileName(this, tr("路線を保存"), {}, tr("路線 (*.dat)"));
    return !path.isEmpty() && saveAs(path.toStdString());
  }
  return saveAs(m_routePath);
}

bool StudioWindow::saveAs(const std::string& path) {
  std::string error;
  if (!saveFileWhole(path, m_editor.document().bytes(), error)) {
    statusBar()->showMessage(text(error));
    return false;
  }
  m_routePath = path;
  m_editor.markSaved();
  std::error_code ignored;
  std::filesystem::remove(autosavePath(), ignored);
  statusBar()->showMessage(tr("%1 を保存しました").arg(text(path)));
  refresh();
  return true;
}

std::string StudioWindow::autosavePath() const {
  return (m_routePath.empty() ? std::string("untitled.dat") : m_routePath) + ".autosave";
}

void StudioWindow::autosave() {
  if (!m_editor.modified() || m_routePath.empty()) return;
  std::string error;
  if (!saveFileWhole(autosavePath(), m_editor.document().bytes(), error))
    statusBar()->showMessage(text(error));
}

bool StudioWindow::mayDiscard() {
  if (!m_editor.modified()) return true;
  if (!m_ask) return false;
  const auto answer = QMessageBox::question(
      this, tr("路線スタジオ"), tr("路線に保存していない変更があります。保存しますか？"),
      QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
  if (answer == QMessageBox::Save) return save();
  return answer == QMessageBox::Discard;
}

void StudioWindow::closeEvent(QCloseEvent* event) {
  // Unattended, unsaved edits go to the autosave instead of a question.
  if (!m_ask && m_editor.modified()) autosave();
  if (m_ask && !mayDiscard()) {
    event->ignore();
    return;
  }
  event->accept();
}

void StudioWindow::goToFrame(int frame) {
  m_frame = std::clamp(frame, 0, std::max(0, m_frames - 1));
  showFrame();
}

void StudioWindow::play(int speed) {
  m_speed = speed;
  if (speed == 0) {
    m_player.stop();
  } else {
    m_player.start(static_cast<int>(std::lround(1000 / m_fps)));
  }
}

std::string StudioWindow::routeRoot() const {
  const std::string& file = m_routePath.empty() ? m_videoPath : m_routePath;
  if (file.empty()) return ".";
  const auto folder = std::filesystem::path(file).parent_path();
  return folder.empty() ? std::string(".") : folder.string();
}

std::optional<int> StudioWindow::countFrames(const std::string& path) {
  // The route video is open already; a scene movie is counted once a route.
  std::error_code ec;
  if (m_video && std::filesystem::equivalent(path, m_videoPath, ec)) return m_frames;
  auto [it, added] = m_frameCounts.try_emplace(path);
  if (added) {
    media::FfmpegVideoReader movie;
    std::string error;
    if (movie.open(path, error)) it->second = movie.frameCount();
  }
  return it->second;
}

void StudioWindow::checkNow() {
  m_checkLater.stop();
  if (!m_scratch.isValid()) return;
  m_findings = checkRouteDocument(m_editor.document(), routeRoot(),
                                  m_scratch.filePath("check.dat").toStdString(),
                                  [this](const std::string& path) { return countFrames(path); });
  m_findingList->clear();
  for (const LiveFinding& f : m_findings) {
    // One whole text for each shape of finding, so that a translation may order its parts.
    const QString what = text(f.text), at = QString::number(f.line);
    QString line;
    if (f.line <= 0)
      line = (f.warning ? tr("警告 · ファイル: %1") : tr("エラー · ファイル: %1")).arg(what);
    else if (!f.frame)
      line = (f.warning ? tr("警告 · %2 行目: %1") : tr("エラー · %2 行目: %1")).arg(what, at);
    else
      line = (f.warning ? tr("警告 · %2 行目、フレーム %3: %1")
                        : tr("エラー · %2 行目、フレーム %3: %1"))
                 .arg(what, at, QString::number(*f.frame));
    auto* item = new QListWidgetItem(line, m_findingList);
    item->setForeground(f.warning ? QColor(0x90, 0x60, 0x00) : QColor(0xb0, 0x20, 0x20));
  }
  if (m_findings.empty())
    new QListWidgetItem(tr("データ検査で指摘することはありません。"), m_findingList);
}

void StudioWindow::findTrains() {
  m_trains.clear();
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(routeRoot(), ec)) {
    if (!entry.is_regular_file(ec)) continue;
    const std::string name = entry.path().filename().string();
    if (lowered(name).ends_with(".dat") &&
        check::fileKind(entry.path().string()) == check::FileKind::kTrain)
      m_trains.push_back(name);
  }
  std::sort(m_trains.begin(), m_trains.end());
  if (std::find(m_trains.begin(), m_trains.end(), m_train) == m_trains.end())
    m_train = m_trains.empty() ? std::string() : m_trains.front();
  m_trainMenu->clear();
  auto* group = new QActionGroup(m_trainMenu);
  for (const std::string& train : m_trains) {
    QAction* action =
        m_trainMenu->addAction(text(train), this, [this, train] { chooseTrain(train); });
    action->setCheckable(true);
    action->setChecked(train == m_train);
    group->addAction(action);
  }
  if (m_trains.empty())
    m_trainMenu->addAction(tr("（路線の隣に車両データファイルがありません）"))->setEnabled(false);
}

CalibrationDialog* StudioWindow::openCalibration() {
  // A new video brings a new dialog: its frames are the video's.
  if (m_calibration == nullptr) {
    m_calibration = new CalibrationDialog(
        this, std::max(0, m_frames - 1), m_fps, [this] { return m_frame; },
        [this](const Calibration& c) { return writeCalibrationToRoute(c); });
  }
  m_calibration->show();
  m_calibration->raise();
  m_calibration->activateWindow();
  return m_calibration;
}

bool StudioWindow::writeCalibrationToRoute(const Calibration& calibration) {
  RouteDocument changed = m_editor.document();
  if (!writeCalibration(changed, calibration.segments,
                        calibration.slopesAsked ? &calibration.slopes : nullptr)) {
    statusBar()->showMessage(tr("路線ファイルが速度表を受け付けません"));
    return false;
  }
  clearSelection();
  m_editor.replace(std::move(changed));
  statusBar()->showMessage(
      calibration.slopesAsked
          ? tr("[SpeedUnit] %1 区間と [Slope] %2 件を書き込みました")
                .arg(calibration.segments.size())
                .arg(calibration.slopes.size())
          : tr("[SpeedUnit] %1 区間を書き込みました").arg(calibration.segments.size()));
  refresh();
  return true;
}

void StudioWindow::keepLanguage(media::Language language) {
  media::QtSettingsStore store;
  std::string error;
  if (!writeLanguage(store, media::languageCode(language), error)) {
    statusBar()->showMessage(text(error));
    return;
  }
  statusBar()->showMessage(language == media::currentLanguage()
                               ? QString()
                               : tr("言語は次にスタジオを開いたときから変わります"));
}

void StudioWindow::chooseTrain(const std::string& train) {
  m_train = train;
  for (QAction* action : m_trainMenu->actions())
    action->setChecked(action->text() == text(train));
}

bool StudioWindow::driveFromHere() {
  const auto refuse = [this](const QString& why) {
    statusBar()->showMessage(why);
    return false;
  };
  if (m_routePath.empty())
    return refuse(
        tr("先に路線をそのインストール先へ保存してください。運転はそこのファイルを読みます。"));
  if (m_train.empty()) return refuse(tr("路線の隣に運転する車両データファイルがありません。"));
  const QString program = cabProgram();
  if (program.isEmpty())
    return refuse(tr("運転台のプログラム velimoro がスタジオの隣にインストールされていません。"));
  if (!m_scratch.isValid()) return refuse(tr("運転用の写しを置く一時フォルダーがありません。"));
  // The copy keeps the file's name: the drive treats some routes by their names.
  const std::string name = std::filesystem::path(m_routePath).filename().string();
  const std::string copy = m_scratch.filePath(text(name)).toStdString();
  std::string error;
  if (!saveFileWhole(copy, m_editor.document().bytes(), error)) return refuse(text(error));
  const QStringList arguments = {
      "--root",  text(routeRoot()), "--train",       text(m_train),
      "--route", text(copy),        "--start-frame", QString::number(m_frame)};
  if (!launch(program, arguments))
    return refuse(tr("運転台のプログラム %1 が起動しません。").arg(program));
  statusBar()->showMessage(
      tr("%1 を %2 でフレーム %3 から運転しています").arg(text(name), text(m_train)).arg(m_frame));
  return true;
}

void StudioWindow::refresh() {
  m_checkLater.start();
  m_frameBox->setRange(0, std::max(0, m_frames - 1));
  m_timeline->show(m_editor.marks(), speedTableOf(m_editor.document()), m_frames);
  showFrame();
}

void StudioWindow::showFrame() {
  m_frameBox->setValue(m_frame);
  m_timeline->setFrame(m_frame);
  const auto table = speedTableOf(m_editor.document());
  m_position->setText((m_editor.modified() ? tr("フレーム %1 / %2 · %3 秒 · %4 m · 未保存")
                                           : tr("フレーム %1 / %2 · %3 秒 · %4 m"))
                          .arg(m_frame)
                          .arg(m_frames)
                          .arg(m_frame / m_fps, 0, 'f', 2)
                          .arg(metresAtFrame(table, m_frame), 0, 'f', 1));
  // A chosen record keeps its own frame in the form.
  for (std::size_t i = 0; i < m_fields.size() && !m_selected; ++i) {
    const auto kind = static_cast<RecordKind>(std::max(0, m_kinds->currentIndex()));
    if (fieldsOf(kind)[i].frame) m_fields[i]->setText(QString::number(m_frame));
  }
  if (!m_video) return;
  media::RgbPicture picture;
  if (!m_video->decodeFrame(m_frame, picture)) return;
  const QImage image(picture.pixels.data(), picture.width, picture.height, picture.width * 3,
                     QImage::Format_RGB888);
  m_picture->setPixmap(
      QPixmap::fromImage(image.copy())
          .scaled(m_picture->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
  if (m_speed != 0) m_video->prefetch(m_frame + m_speed, m_speed > 0 ? 1 : -1);
}

}  // namespace velimoro::studio
