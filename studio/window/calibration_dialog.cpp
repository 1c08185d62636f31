#include "studio/window/calibration_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <string>

#include "data/numbers.h"
#include "studio/core/route_file_io.h"
#include "studio/window/timeline_view.h"

namespace velimoro::studio {
namespace {

QString text(const std::string& s) {
  return QString::fromStdString(s);
}

// A frame box with a button that takes the player's frame into it.
QSpinBox* frameRow(QWidget* parent, QHBoxLayout* row, int lastFrame, const QString& name,
                   const QString& caption, const std::function<int()>& currentFrame) {
  auto* box = new QSpinBox(parent);
  box->setRange(0, std::max(0, lastFrame));
  box->setObjectName(name);
  auto* mark = new QPushButton(caption, parent);
  mark->setObjectName(name + "Mark");
  QObject::connect(mark, &QPushButton::clicked, box, [box, currentFrame] {
    box->setValue(currentFrame());
    box->setFocus();
  });
  row->addWidget(box);
  row->addWidget(mark);
  return box;
}

void fillTable(QTableWidget* table, const std::vector<QStringList>& rows) {
  table->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < table->rowCount(); ++r)
    for (int c = 0; c < table->columnCount(); ++c)
      table->setItem(r, c, new QTableWidgetItem(rows[static_cast<std::size_t>(r)].value(c)));
}

QTableWidget* newTable(QWidget* parent, const QStringList& headings) {
  auto* table = new QTableWidget(0, static_cast<int>(headings.size()), parent);
  table->setHorizontalHeaderLabels(headings);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->verticalHeader()->hide();
  table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  return table;
}

}  // namespace

CalibrationDialog::CalibrationDialog(QWidget* parent, int lastFrame, double fps,
                                     std::function<int()> currentFrame,
                                     std::function<bool(const Calibration&)> write)
    : QDialog(parent),
      m_lastFrame(lastFrame),
      m_fps(fps),
      m_currentFrame(std::move(currentFrame)),
      m_write(std::move(write)) {
  setWindowTitle(tr("距離の較正"));
  auto* layout = new QVBoxLayout(this);
  m_sources = new QTabWidget(this);
  m_sources->addTab(buildPosts(), tr("キロポスト"));
  m_sources->addTab(buildTrack(), tr("GPX の軌跡"));
  m_sources->addTab(buildSpeedLog(), tr("速度記録"));
  connect(m_sources, &QTabWidget::currentChanged, this, [this] { recompute(); });
  layout->addWidget(m_sources, 1);
  m_marks = buildMarks();
  layout->addWidget(m_marks);

  auto* preview = new QGroupBox(tr("書き込む [SpeedUnit] の区間"), this);
  auto* previewLayout = new QVBoxLayout(preview);
  m_summary = new QLabel(preview);
  m_summary->setWordWrap(true);
  previewLayout->addWidget(m_summary);
  m_profile = new SpeedProfileView(preview);
  previewLayout->addWidget(m_profile);
  m_segments = newTable(preview, {tr("始めのフレーム"), tr("終わりのフレーム"),
                                  tr("始めの速度 (km/h)"), tr("終わりの速度 (km/h)")});
  m_segments->setMaximumHeight(150);
  previewLayout->addWidget(m_segments);
  layout->addWidget(preview, 2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  m_writeButton = buttons->addButton(tr("路線に書き込む"), QDialogButtonBox::ApplyRole);
  m_writeButton->setObjectName("write");
  m_writeButton->setAutoDefault(false);
  connect(m_writeButton, &QPushButton::clicked, this, [this] { writeToRoute(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  recompute();
}

QWidget* CalibrationDialog::buildPosts() {
  auto* page = new QWidget(m_sources);
  auto* layout = new QVBoxLayout(page);
  auto* hint = new QLabel(
      tr("キロポストを過ぎる二つのフレームを再生画面で選んで印し、その間の距離を入れてください。"
         "組はいくつでも加えられます。最初の組の前と最後の組の後は、隣の組の速度で延ばします。"),
      page);
  hint->setWordWrap(true);
  layout->addWidget(hint);
  auto* row = new QHBoxLayout();
  row->addWidget(new QLabel(tr("始め"), page));
  m_from = frameRow(page, row, m_lastFrame, "from", tr("今のフレーム"), m_currentFrame);
  row->addWidget(new QLabel(tr("終わり"), page));
  m_to = frameRow(page, row, m_lastFrame, "to", tr("今のフレーム"), m_currentFrame);
  row->addWidget(new QLabel(tr("距離 (m)"), page));
  m_distance = new QLineEdit(page);
  m_distance->setObjectName("distance");
  m_distance->setMaximumWidth(90);
  connect(m_distance, &QLineEdit::returnPressed, this, [this] { addPair(); });
  row->addWidget(m_distance);
  auto* add = new QPushButton(tr("組を加える (Enter)"), page);
  add->setObjectName("addPair");
  add->setAutoDefault(false);
  connect(add, &QPushButton::clicked, this, [this] { addPair(); });
  row->addWidget(add);
  layout->addLayout(row);
  m_pairList = newTable(page, {tr("始めのフレーム"), tr("終わりのフレーム"), tr("距離 (m)")});
  layout->addWidget(m_pairList, 1);
  auto* remove = new QPushButton(tr("選んだ組を外す"), page);
  remove->setAutoDefault(false);
  connect(remove, &QPushButton::clicked, this, [this] { removePair(); });
  layout->addWidget(remove, 0, Qt::AlignLeft);
  return page;
}

QWidget* CalibrationDialog::buildTrack() {
  auto* page = new QWidget(m_sources);
  auto* layout = new QVBoxLayout(page);
  auto* open = new QPushButton(tr("GPX の軌跡を読み込む…"), page);
  open->setAutoDefault(false);
  connect(open, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("GPX の軌跡を読み込む"), {}, tr("GPX の軌跡 (*.gpx);;すべてのファイル (*)"));
    if (!path.isEmpty()) importTrack(path);
  });
  layout->addWidget(open, 0, Qt::AlignLeft);
  m_trackInfo = new QLabel(tr("時刻付きの点の軌跡（標高は任意）を読み込んでください。"), page);
  m_trackInfo->setWordWrap(true);
  layout->addWidget(m_trackInfo);
  m_slopes = new QCheckBox(tr("軌跡の標高から [Slope] も書き込む"), page);
  m_slopes->setObjectName("slopes");
  connect(m_slopes, &QCheckBox::toggled, this, [this] { recompute(); });
  layout->addWidget(m_slopes);
  layout->addStretch(1);
  return page;
}

QWidget* CalibrationDialog::buildSpeedLog() {
  auto* page = new QWidget(m_sources);
  auto* layout = new QVBoxLayout(page);
  auto* open = new QPushButton(tr("速度記録を読み込む…"), page);
  open->setAutoDefault(false);
  connect(open, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getOpenFileName(
        this, tr("速度記録を読み込む"), {}, tr("速度記録 (*.csv *.txt);;すべてのファイル (*)"));
    if (!path.isEmpty()) importSpeedLog(path);
  });
  layout->addWidget(open, 0, Qt::AlignLeft);
  m_logInfo = new QLabel(tr("1 行に「秒,km/h」の CSV を読み込んでください。"), page);
  m_logInfo->setWordWrap(true);
  layout->addWidget(m_logInfo);
  layout->addStretch(1);
  return page;
}

QWidget* CalibrationDialog::buildMarks() {
  auto* box = new QGroupBox(tr("時計合わせ"), this);
  auto* form = new QFormLayout(box);
  for (int i = 0; i < 2; ++i) {
    auto* row = new QHBoxLayout();
    m_markFrame[i] = frameRow(box, row, m_lastFrame, QString("markFrame%1").arg(i + 1),
                              tr("今のフレーム"), m_currentFrame);
    row->addWidget(new QLabel(tr("の時刻"), box));
    m_markTime[i] = new QLineEdit(box);
    m_markTime[i]->setObjectName(QString("markTime%1").arg(i + 1));
    m_markTime[i]->setPlaceholderText(tr("2024-05-01T10:00:00Z または秒"));
    row->addWidget(m_markTime[i], 1);
    connect(m_markFrame[i], &QSpinBox::valueChanged, this, [this] { recompute(); });
    connect(m_markTime[i], &QLineEdit::textChanged, this, [this] { recompute(); });
    if (i == 0) {
      form->addRow(tr("一つ目の印"), row);
    } else {
      m_secondMark = new QCheckBox(tr("二つ目の印（カメラの時計の進み遅れを直す）"), box);
      m_secondMark->setObjectName("secondMark");
      connect(m_secondMark, &QCheckBox::toggled, this, [this] { recompute(); });
      form->addRow(m_secondMark);
      form->addRow(tr("二つ目の印"), row);
    }
  }
  auto* hint = new QLabel(tr("時刻は ISO 形式の時刻か、記録の最初の点からの秒数です。"), box);
  hint->setWordWrap(true);
  form->addRow(hint);
  return box;
}

void CalibrationDialog::addPair() {
  const auto metres = parseReal(m_distance->text().trimmed().toStdString());
  if (!metres || !(*metres > 0) || !std::isfinite(*metres)) {
    showMessage(tr("距離はメートルで 0 より大きい数を入れてください"), true);
    return;
  }
  m_pairs.push_back({m_from->value(), m_to->value(), *metres});
  std::sort(m_pairs.begin(), m_pairs.end(),
            [](const FramePair& a, const FramePair& b) { return a.from < b.from; });
  m_distance->clear();
  recompute();
}

void CalibrationDialog::removePair() {
  const int row = m_pairList->currentRow();
  if (row < 0 || row >= static_cast<int>(m_pairs.size())) return;
  m_pairs.erase(m_pairs.begin() + row);
  recompute();
}

bool CalibrationDialog::readFile(const QString& path, std::string& contents) {
  std::string error;
  if (readTextFile(path.toStdString(), contents, error)) return true;
  showMessage(text(error), true);
  return false;
}

bool CalibrationDialog::importTrack(const QString& path) {
  m_sources->setCurrentIndex(1);
  std::string contents, error;
  if (!readFile(path, contents)) return false;
  std::vector<TrackPoint> track;
  if (!readGpx(contents, track, error)) {
    m_trackInfo->setText(QFileInfo(path).fileName() + ": " + text(error));
    m_track.clear();
    recompute();
    return false;
  }
  m_track = std::move(track);
  const bool heights = std::any_of(m_track.begin(), m_track.end(),
                                   [](const TrackPoint& p) { return p.elevation.has_value(); });
  m_trackInfo->setText(
      (heights ? tr("%1: %2 点、%3 秒、標高あり") : tr("%1: %2 点、%3 秒、標高なし"))
          .arg(QFileInfo(path).fileName())
          .arg(m_track.size())
          .arg(m_track.back().seconds - m_track.front().seconds, 0, 'f', 0));
  m_slopes->setEnabled(heights);
  if (!heights) m_slopes->setChecked(false);
  recompute();
  return true;
}

bool CalibrationDialog::importSpeedLog(const QString& path) {
  m_sources->setCurrentIndex(2);
  std::string contents, error;
  if (!readFile(path, contents)) return false;
  std::vector<SpeedSample> log;
  if (!readSpeedLog(contents, log, error)) {
    m_logInfo->setText(QFileInfo(path).fileName() + ": " + text(error));
    m_log.clear();
    recompute();
    return false;
  }
  m_log = std::move(log);
  m_logInfo->setText(tr("%1: %2 行、%3 秒")
                         .arg(QFileInfo(path).fileName())
                         .arg(m_log.size())
                         .arg(m_log.back().seconds - m_log.front().seconds, 0, 'f', 0));
  recompute();
  return true;
}

void CalibrationDialog::recompute() {
  std::vector<QStringList> rows;
  for (const FramePair& p : m_pairs)
    rows.push_back({QString::number(p.from), QString::number(p.to), QString::number(p.metres)});
  fillTable(m_pairList, rows);

  CalibrationSource source;
  source.kind = static_cast<CalibrationSource::Kind>(std::max(0, m_sources->currentIndex()));
  source.pairs = m_pairs;
  source.track = m_track;
  source.log = m_log;
  source.fps = m_fps;
  source.lastFrame = m_lastFrame;
  source.slopes = m_slopes->isChecked();
  m_marks->setVisible(source.kind != CalibrationSource::Kind::kPosts);
  const double start = source.kind == CalibrationSource::Kind::kTrack && !m_track.empty()
                           ? m_track.front().seconds
                           : 0;
  QString fault;
  for (int i = 0; i < (m_secondMark->isChecked() ? 2 : 1); ++i) {
    const auto seconds = clockTime(m_markTime[i]->text().trimmed().toStdString(), start);
    if (seconds)
      source.marks.push_back({m_markFrame[i]->value(), *seconds});
    else if (fault.isEmpty())
      fault = tr("印 %1 の時刻を ISO 形式の時刻か秒数で入れてください").arg(i + 1);
  }
  Calibration result;
  std::string error;
  if (source.kind == CalibrationSource::Kind::kPosts || fault.isEmpty()) {
    fault.clear();
    if (!calibrate(source, result, error)) fault = text(error);
  }
  if (!fault.isEmpty()) {
    m_result.reset();
    m_profile->show({}, m_lastFrame + 1);
    fillTable(m_segments, {});
    showMessage(fault, true);
    return;
  }
  rows.clear();
  for (const FrameSpeedEntry& s : result.segments)
    rows.push_back({QString::number(s.fromFrame), QString::number(s.toFrame),
                    QString::number(static_cast<double>(s.fromSpeed), 'f', 3),
                    QString::number(static_cast<double>(s.toSpeed), 'f', 3)});
  fillTable(m_segments, rows);
  m_profile->show(result.segments, m_lastFrame + 1);
  QString summary =
      tr("%1 区間、フレーム %2〜%3、%4 m。較正の距離との差は最大 %5 %。")
          .arg(result.segments.size())
          .arg(result.segments.front().fromFrame)
          .arg(result.segments.back().toFrame)
          .arg(metresAtFrame(result.segments, result.segments.back().toFrame), 0, 'f', 0)
          .arg(result.worstDeviation * 100, 0, 'f', 2);
  if (result.slopesAsked) summary += " " + tr("[Slope] %1 件。").arg(result.slopes.size());
  m_result = std::move(result);
  showMessage(summary, false);
}

void CalibrationDialog::showMessage(const QString& message, bool fault) {
  m_summary->setText(message);
  m_summary->setStyleSheet(fault ? "color: #b02020;" : "color: #207020;");
  m_writeButton->setEnabled(!fault && m_result.has_value());
}

bool CalibrationDialog::writeToRoute() {
  if (!m_result || !m_write) return false;
  return m_write(*m_result);
}

}  // namespace velimoro::studio
