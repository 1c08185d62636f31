#include "studio/window/studio_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "data/numbers.h"
#include "studio/core/calibration.h"
#include "studio/core/route_file_io.h"
#include "studio/window/timeline_view.h"

namespace velimoro::studio {
namespace {

QString text(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

bool isVideo(const std::string& path) {
  std::string lower = path;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* ending : {".avi", ".mp4", ".mkv", ".webm", ".mov", ".mpg", ".ogv"})
    if (lower.ends_with(ending)) return true;
  return false;
}

}  // namespace

StudioWindow::StudioWindow(bool askQuestions) : m_ask(askQuestions) {
  setWindowTitle(tr("Route studio"));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  m_picture = new QLabel(central);
  m_picture->setMinimumSize(480, 300);
  m_picture->setAlignment(Qt::AlignCenter);
  m_picture->setStyleSheet("background: #202020; color: #c0c0c0;");
  m_picture->setText(tr("Open a route file or a video (File menu)"));
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
  controls->addWidget(new QLabel(tr("frame"), central));
  m_frameBox = new QSpinBox(central);
  m_frameBox->setRange(0, 0);
  connect(m_frameBox, &QSpinBox::editingFinished, this, [this] { goToFrame(m_frameBox->value()); });
  controls->addWidget(m_frameBox);
  controls->addWidget(new QLabel(tr("time (s)"), central));
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
  layout->addWidget(m_timeline);
  setCentralWidget(central);

  auto* dock = new QDockWidget(tr("Place a record"), this);
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  auto* panel = new QWidget(dock);
  auto* form = new QFormLayout(panel);
  buildPalette(panel, form);
  dock->setWidget(panel);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  buildMenus();

  connect(&m_player, &QTimer::timeout, this, [this] {
    const int next = std::clamp(m_frame + m_speed, 0, std::max(0, m_frames - 1));
    if (next == m_frame) play(0);
    goToFrame(next);
  });
  connect(&m_autosave, &QTimer::timeout, this, [this] { autosave(); });
  m_autosave.start(60 * 1000);
  refresh();
}

StudioWindow::~StudioWindow() = default;

void StudioWindow::buildMenus() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  file->addAction(tr("&Open…"), QKeySequence::Open, this, [this] {
    if (!mayDiscard()) return;
    const QString path = QFileDialog::getOpenFileName(
        this, tr("Open a route file or a video"), {},
        tr("Routes and videos (*.dat *.avi *.mp4 *.mkv *.webm *.mov);;All files (*)"));
    if (!path.isEmpty()) openFile(path.toStdString());
  });
  file->addAction(tr("&Save"), QKeySequence::Save, this, [this] { save(); });
  file->addAction(tr("Save &as…"), QKeySequence::SaveAs, this, [this] {
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save the route"), {}, tr("Routes (*.dat)"));
    if (!path.isEmpty()) saveAs(path.toStdString());
  });
  file->addSeparator();
  file->addAction(tr("&Quit"), QKeySequence::Quit, this, [this] { close(); });

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  edit->addAction(tr("&Undo"), QKeySequence::Undo, this, [this] {
    if (m_editor.undo()) refresh();
  });
  edit->addAction(tr("&Redo"), QKeySequence::Redo, this, [this] {
    if (m_editor.redo()) refresh();
  });

  // Ctrl+1 … Ctrl+9 open the form of a kind at the current frame.
  QMenu* place = menuBar()->addMenu(tr("&Place"));
  int n = 1;
  for (RecordKind kind : kAllRecordKinds) {
    place->addAction(text(captionOf(kind)),
                     QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_0 + n++)), this,
                     [this, kind] { choosePaletteKind(kind); });
  }
  // The window holds the actions too, so that their keys work wherever its focus is.
  for (QMenu* menu : {file, edit, place})
    addActions(menu->actions());
}

void StudioWindow::buildPalette(QWidget* parent, QFormLayout* layout) {
  m_kinds = new QComboBox(parent);
  for (RecordKind kind : kAllRecordKinds)
    m_kinds->addItem(text(captionOf(kind)));
  connect(m_kinds, &QComboBox::currentIndexChanged, this, [this] { showPaletteFields(); });
  layout->addRow(tr("record"), m_kinds);
  auto* fields = new QWidget(parent);
  m_form = new QFormLayout(fields);
  m_form->setContentsMargins(0, 0, 0, 0);
  layout->addRow(fields);
  m_check = new QLabel(parent);
  m_check->setWordWrap(true);
  layout->addRow(m_check);
  auto* placeButton = new QPushButton(tr("Place at this frame (Enter)"), parent);
  connect(placeButton, &QPushButton::clicked, this, [this] { placeFromPalette(); });
  layout->addRow(placeButton);
  showPaletteFields();
}

void StudioWindow::choosePaletteKind(RecordKind kind) {
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
    QString caption = text(f.name);
    if (!f.unit.empty()) caption += " (" + text(f.unit) + ")";
    if (f.frame)
      edit->setText(QString::number(m_frame));
    else if (f.type != FieldSpec::Type::kText)
      edit->setText("0");
    connect(edit, &QLineEdit::textChanged, this, [this] { checkPalette(); });
    connect(edit, &QLineEdit::returnPressed, this, [this] { placeFromPalette(); });
    m_form->addRow(caption, edit);
    edit->show();  // at once, so that it can take the focus
    m_fields.push_back(edit);
  }
  checkPalette();
}

void StudioWindow::checkPalette() {
  std::vector<std::string> values;
  for (QLineEdit* f : m_fields)
    values.push_back(f->text().toStdString());
  const std::string fault =
      checkFields(static_cast<RecordKind>(std::max(0, m_kinds->currentIndex())), values);
  m_check->setText(fault.empty() ? tr("ready to place") : text(fault));
  m_check->setStyleSheet(fault.empty() ? "color: #207020;" : "color: #b02020;");
}

void StudioWindow::placeFromPalette() {
  std::vector<std::string> values;
  for (QLineEdit* f : m_fields)
    values.push_back(f->text().toStdString());
  std::string error;
  const auto kind = static_cast<RecordKind>(std::max(0, m_kinds->currentIndex()));
  if (!m_editor.place(kind, values, error)) {
    statusBar()->showMessage(text(error));
    return;
  }
  statusBar()->showMessage(tr("placed a %1 at frame %2")
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
  m_editor = RouteEditor(std::move(document));
  if (const auto rate = m_editor.document().value(RouteSection::kFrameRate, 0))
    if (const auto fps = parseInt(*rate); fps && *fps > 0) m_fps = *fps;
  m_video.reset();
  m_frames = 0;
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
  setWindowTitle(tr("Route studio") + " - " + text(m_routePath.empty() ? path : m_routePath));
  refresh();
  return true;
}

bool StudioWindow::save() {
  if (m_routePath.empty()) {
    if (!m_ask) return false;
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save the route"), {}, tr("Routes (*.dat)"));
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
  statusBar()->showMessage(tr("saved %1").arg(text(path)));
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
      this, tr("Route studio"), tr("The route has changes that are not saved. Save them?"),
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

void StudioWindow::refresh() {
  m_frameBox->setRange(0, std::max(0, m_frames - 1));
  m_timeline->show(m_editor.marks(), speedTableOf(m_editor.document()), m_frames);
  showFrame();
}

void StudioWindow::showFrame() {
  m_frameBox->setValue(m_frame);
  m_timeline->setFrame(m_frame);
  const auto table = speedTableOf(m_editor.document());
  m_position->setText(tr("frame %1 of %2 · %3 s · %4 m%5")
                          .arg(m_frame)
                          .arg(m_frames)
                          .arg(m_frame / m_fps, 0, 'f', 2)
                          .arg(metresAtFrame(table, m_frame), 0, 'f', 1)
                          .arg(m_editor.modified() ? tr(" · not saved") : QString()));
  for (std::size_t i = 0; i < m_fields.size(); ++i) {
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
