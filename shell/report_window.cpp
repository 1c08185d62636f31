#include "shell/report_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <cstdio>

#include "cab/report_plot.h"

namespace velimoro {
namespace {

constexpr int kPlotHeight = 300;

QString text(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

QString fixed(long double value, int decimals) {
  return QString::number(static_cast<double>(value), 'f', decimals);
}

QColor eventColour(ReportEventKind kind) {
  switch (kind) {
    case ReportEventKind::kAtsAlarm:
      return QColor(0xe0, 0xa0, 0x00);
    case ReportEventKind::kPatternBrake:
      return QColor(0xe0, 0x60, 0x00);
    default:
      return QColor(0xc0, 0x00, 0x00);
  }
}

QPolygonF polygon(const std::vector<PlotPoint>& line) {
  QPolygonF shape;
  for (const PlotPoint& p : line)
    shape << QPointF(p.x, p.y);
  return shape;
}

// The plot of the report, drawn from the same geometry as the report file's SVG.
class PlotWidget : public QWidget {
 public:
  PlotWidget(const RunReport& report, QWidget* parent) : QWidget(parent), m_report(report) {
    setMinimumHeight(kPlotHeight);
    setAutoFillBackground(false);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    const ReportPlot plot = layoutPlot(m_report, width(), height());
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), Qt::white);
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    p.setFont(small);
    const QFontMetrics metrics(small);

    const QRectF area(QPointF(plot.left, plot.top), QPointF(plot.right, plot.bottom));
    for (const PlotTick& tick : plot.speedTicks) {
      p.setPen(QColor(0xe4, 0xe4, 0xe4));
      p.drawLine(QPointF(plot.left, tick.at), QPointF(plot.right, tick.at));
      p.setPen(QColor(0x44, 0x44, 0x44));
      p.drawText(QRectF(0, tick.at - 8, plot.left - 6, 16), Qt::AlignRight | Qt::AlignVCenter,
                 text(tick.text));
    }
    p.drawText(QPointF(6, plot.top - 8), QStringLiteral("km/h"));
    for (const PlotTick& tick : plot.distanceTicks) {
      p.drawLine(QPointF(tick.at, plot.bottom), QPointF(tick.at, plot.bottom + 4));
      p.drawText(QRectF(tick.at - 40, plot.bottom + 5, 80, 16), Qt::AlignCenter, text(tick.text));
    }
    p.setPen(QPen(QColor(0x20, 0x60, 0xc0), 2));
    for (const double x : plot.signals)
      p.drawLine(QPointF(x, plot.bottom), QPointF(x, plot.bottom - 8));
    for (const PlotTick& station : plot.stations) {
      p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DashLine));
      p.drawLine(QPointF(station.at, plot.top), QPointF(station.at, plot.bottom));
      p.setPen(QColor(0x22, 0x22, 0x22));
      const QString name = text(station.text);
      const double w = metrics.horizontalAdvance(name);
      p.drawText(QPointF(station.at - w / 2, plot.top - 8), name);
    }
    // Two pixels wide, so that a limit stands out in its full colour wherever its line falls.
    p.setPen(QPen(QColor(0xd0, 0x20, 0x20), 2));
    for (const std::vector<PlotPoint>& limit : plot.limits)
      p.drawPolyline(polygon(limit));
    p.setPen(QPen(QColor(0x1a, 0x7f, 0x37), 1.5));
    p.drawPolyline(polygon(plot.speed));
    p.setPen(QPen(QColor(0x70, 0x30, 0xa0), 3));
    for (const std::vector<PlotPoint>& run : plot.braking)
      p.drawPolyline(polygon(run));
    p.setPen(Qt::NoPen);
    for (const PlotEvent& event : plot.events) {
      p.setBrush(eventColour(event.kind));
      p.drawEllipse(QPointF(event.at.x, event.at.y), 4, 4);
    }
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(0x44, 0x44, 0x44));
    p.drawRect(area);
  }

 private:
  const RunReport& m_report;
};

QTableWidget* table(const QStringList& headers, QWidget* parent) {
  auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  t->setHorizontalHeaderLabels(headers);
  t->verticalHeader()->hide();
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->setSelectionMode(QAbstractItemView::NoSelection);
  t->horizontalHeader()->setStretchLastSection(true);
  return t;
}

void addRow(QTableWidget* t, const QStringList& cells) {
  const int row = t->rowCount();
  t->insertRow(row);
  for (int c = 0; c < cells.size(); ++c) {
    auto* item = new QTableWidgetItem(cells[c]);
    item->setTextAlignment(c <= 1 ? Qt::AlignLeft | Qt::AlignVCenter
                                  : Qt::AlignRight | Qt::AlignVCenter);
    t->setItem(row, c, item);
  }
  t->resizeColumnsToContents();
}

QString stopText(const std::optional<long double>& errorCm) {
  if (!errorCm) return QStringLiteral("–");
  return text(reportStopText(*errorCm));
}

QString optionalClock(const std::optional<int>& ticks) {
  return ticks ? text(reportClock(*ticks)) : QStringLiteral("–");
}

QTableWidget* stationTable(const RunReport& report, QWidget* parent) {
  QTableWidget* t =
      table({ReportWindow::tr("駅"), ReportWindow::tr("結果"), ReportWindow::tr("到着"),
             ReportWindow::tr("発車"), ReportWindow::tr("定刻発車"), ReportWindow::tr("定刻との差"),
             ReportWindow::tr("停車時間"), ReportWindow::tr("停止位置")},
            parent);
  for (const ReportStation& s : report.stations) {
    const std::optional<int> late = s.late();
    const std::optional<int> dwell = s.dwell();
    addRow(t, {text(s.name), text(outcomeText(s.outcome)), optionalClock(s.arrival),
               optionalClock(s.departure),
               s.scheduledDeparture > 0 ? text(reportClock(s.scheduledDeparture)) : "–",
               late ? text(reportDelta(*late)) : "–",
               dwell ? text(reportDelta(*dwell).substr(1)) : "–", stopText(s.stopErrorCm)});
  }
  return t;
}

QTableWidget* limitTable(const RunReport& report, QWidget* parent) {
  QTableWidget* t =
      table({ReportWindow::tr("制限速度"), ReportWindow::tr("区間"), ReportWindow::tr("最高速度"),
             ReportWindow::tr("位置"), ReportWindow::tr("超過")},
            parent);
  for (const ReportLimit& l : report.limits) {
    if (!l.entered) continue;
    addRow(t, {QString::number(l.limit) + " km/h",
               fixed(l.fromCm / 100000, 2) + " – " + fixed(l.toCm / 100000, 2) + " km",
               fixed(l.topSpeed, 1) + " km/h", fixed(l.topAtCm / 100000, 3) + " km",
               l.excess() > 0 ? fixed(l.excess(), 1) + " km/h" : "–"});
  }
  return t;
}

QTableWidget* eventTable(const RunReport& report, QWidget* parent) {
  QTableWidget* t = table({ReportWindow::tr("内容"), ReportWindow::tr("時刻"),
                           ReportWindow::tr("位置"), ReportWindow::tr("速度")},
                          parent);
  for (const ReportEvent& e : report.events) {
    addRow(t, {text(e.what()), text(reportClock(e.tick)), fixed(e.cm / 100000, 3) + " km",
               fixed(e.speed, 1) + " km/h"});
  }
  return t;
}

QWidget* scorePage(const RunReport& report, QWidget* parent) {
  auto* page = new QWidget(parent);
  auto* layout = new QVBoxLayout(page);
  QTableWidget* t = table({ReportWindow::tr("減点"), ReportWindow::tr("点")}, page);
  for (const ScoreItem& item : report.deductions)
    addRow(t, {text(item.what), QString::number(item.points)});
  layout->addWidget(t);
  auto* rules = new QLabel(text(scoreRules()), page);
  rules->setWordWrap(true);
  layout->addWidget(rules);
  return page;
}

QString summary(const RunReport& report) {
  const QString line =
      report.runEnded
          ? ReportWindow::tr("%1、%2 – %3：%4 km、所要 %5（うち走行 %6）、最高速度 %7 km/h。")
          : ReportWindow::tr(
                "%1、%2 – %3：%4 km、所要 %5（うち走行 %6）、最高速度 %7 km/h。"
                "運転は終点の前で終わりました。");
  return line.arg(text(report.trainName), text(reportClock(report.startTick)),
                  text(reportClock(report.endTick)), fixed(report.distanceCm / 100000, 2),
                  text(reportDelta(report.endTick - report.startTick).substr(1)),
                  text(reportDelta(report.runningTicks).substr(1)), fixed(report.topSpeed, 1));
}

}  // namespace

ReportWindow::ReportWindow(RunReport report, QWidget* parent)
    : QWidget(parent, Qt::Window), m_report(std::move(report)) {
  setWindowTitle(tr("運転レポート – %1").arg(text(m_report.lineName)));
  auto* layout = new QVBoxLayout(this);

  auto* heading = new QHBoxLayout;
  auto* title = new QLabel(this);
  title->setText("<b>" + text(m_report.lineName).toHtmlEscaped() + "</b><br>" +
                 summary(m_report).toHtmlEscaped());
  heading->addWidget(title, 1);
  auto* score = new QLabel(tr("得点 <b>%1</b>").arg(m_report.score), this);
  QFont big = score->font();
  big.setPointSizeF(big.pointSizeF() * 1.8);
  score->setFont(big);
  heading->addWidget(score);
  layout->addLayout(heading);

  layout->addWidget(new PlotWidget(m_report, this), 3);
  auto* key = new QLabel(this);
  key->setText(
      QStringLiteral("<span style='color:#1a7f37'>━ %1</span> &nbsp; "
                     "<span style='color:#7030a0'>━ %2</span> &nbsp; "
                     "<span style='color:#d02020'>━ %3</span> &nbsp; "
                     "<span style='color:#2060c0'>| %4</span> &nbsp; "
                     "<span style='color:#c00000'>● %5</span>")
          .arg(tr("速度"), tr("ブレーキ"), tr("制限速度"), tr("信号"), tr("ATS・非常ブレーキ")));
  layout->addWidget(key);

  auto* tabs = new QTabWidget(this);
  tabs->addTab(stationTable(m_report, tabs), tr("駅"));
  tabs->addTab(limitTable(m_report, tabs), tr("速度制限"));
  tabs->addTab(eventTable(m_report, tabs), tr("保安装置（%1）").arg(m_report.events.size()));
  tabs->addTab(scorePage(m_report, tabs), tr("得点"));
  layout->addWidget(tabs, 2);
  resize(1000, 680);
}

}  // namespace velimoro
