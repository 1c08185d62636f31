#include "windows/value_display.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>
#include <algorithm>

#include "data/numbers.h"
#include "present/aux_views.h"

namespace velimoro::windows {

// The 10 x 10 grid of the first hundred sound channels: cyan with the volume while a channel
// plays; a click stops it.
class SoundGrid final : public QWidget {
 public:
  static constexpr int kCell = 30;
  explicit SoundGrid(ValueDisplay& display) : m_display(display) {
    setFixedSize(kCell * 10 + 1, kCell * 10 + 1);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const TimedSoundLayer& sound = m_display.m_session.sound();
    QFont font = painter.font();
    font.setPixelSize(9);
    painter.setFont(font);
    for (int channel = 0; channel < 100; ++channel) {
      const QRect cell((channel % 10) * kCell, (channel / 10) * kCell, kCell, kCell);
      const bool playing = sound.isPlaying(channel);
      painter.fillRect(cell, playing ? QColor(Qt::cyan) : palette().window().color());
      painter.setPen(QColor(0xA0, 0xA0, 0xA0));
      painter.drawRect(cell);
      if (playing) {
        painter.setPen(Qt::black);
        painter.drawText(cell, Qt::AlignCenter, QString::number(sound.volume(channel)));
      }
    }
  }
  void mousePressEvent(QMouseEvent* event) override {
    const int x = static_cast<int>(event->position().x()) / kCell;
    const int y = static_cast<int>(event->position().y()) / kCell;
    if (x < 0 || x >= 10 || y < 0 || y >= 10) return;
    m_display.m_link.input("stopsound", {std::to_string(x + 10 * y)});
    update();
  }

 private:
  ValueDisplay& m_display;
};

// The speed (km/h) and the brake cylinder and brake pipe pressures (kPa) over the last minute,
// on scales at the sides, the legend above the curves and the time under them.
class ValuePlot final : public QWidget {
 public:
  explicit ValuePlot(ValueDisplay& display) : m_display(display) { setMinimumSize(320, 170); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0x20, 0x22, 0x26));
    QFont font = painter.font();
    font.setPixelSize(10);
    painter.setFont(font);
    // The curves' area, with room for the scales at the sides, the legend and the times.
    const QRectF area = QRectF(rect()).adjusted(30, 18, -30, -16);
    const auto y = [&](double share) {
      return area.bottom() - std::clamp(share, 0.0, 1.0) * area.height();
    };
    const QColor grid(0x50, 0x54, 0x5C), scale(0xB0, 0xB4, 0xBC);
    for (int step = 0; step <= 4; ++step) {
      const double at = y(step / 4.0);
      painter.setPen(QPen(grid, step == 0 ? 1.5 : 1, step == 0 ? Qt::SolidLine : Qt::DotLine));
      painter.drawLine(QPointF(area.left(), at), QPointF(area.right(), at));
      painter.setPen(scale);
      painter.drawText(QRectF(0, at - 6, area.left() - 3, 12), Qt::AlignRight | Qt::AlignVCenter,
                       QString::number(kSpeedTop * step / 4));
      painter.drawText(QRectF(area.right() + 3, at - 6, 30, 12), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::number(kPressureTop * step / 4));
    }
    for (int seconds = 0; seconds <= 60; seconds += 20) {
      const double at = area.right() - seconds * area.width() / 60.0;
      painter.drawText(QRectF(std::max(0.0, at - 20), area.bottom() + 2, 40, 12), Qt::AlignCenter,
                       seconds == 0 ? QStringLiteral("0 s") : QStringLiteral("-%1 s").arg(seconds));
    }
    struct Line {
      double ValueDisplay::Sample::*field;
      double top;
      QColor colour;
      const char* name;
    };
    const Line lines[] = {{&ValueDisplay::Sample::speed, kSpeedTop, QColor(0x60, 0xD0, 0x60),
                           QT_TRANSLATE_NOOP("velimoro::windows::ValueDisplay", "速度 km/h（左）")},
                          {&ValueDisplay::Sample::bc, kPressureTop, QColor(0xF0, 0x60, 0x50),
                           QT_TRANSLATE_NOOP("velimoro::windows::ValueDisplay", "BC kPa（右）")},
                          {&ValueDisplay::Sample::bp, kPressureTop, QColor(0x60, 0xA0, 0xF0),
                           QT_TRANSLATE_NOOP("velimoro::windows::ValueDisplay", "BP kPa（右）")}};
    double legend = area.left();
    for (const Line& line : lines) {
      painter.setPen(line.colour);
      const QString name = ValueDisplay::tr(line.name);
      painter.drawText(QPointF(legend, 12), name);
      legend += painter.fontMetrics().horizontalAdvance(name) + 14;
    }
    const auto& samples = m_display.m_samples;
    if (samples.size() < 2) return;
    const std::int64_t last = samples.back().ms;
    const auto x = [&](std::int64_t ms) {
      return area.right() - static_cast<double>(last - ms) * area.width() / 60000.0;
    };
    painter.setClipRect(area.adjusted(-1, -1, 1, 1));
    for (const Line& line : lines) {
      QPainterPath path;
      bool first = true;
      for (const auto& sample : samples) {
        const QPointF point(x(sample.ms), y(sample.*line.field / line.top));
        if (first)
          path.moveTo(point);
        else
          path.lineTo(point);
        first = false;
      }
      painter.setPen(QPen(line.colour, 1.5));
      painter.drawPath(path);
    }
  }

 private:
  static constexpr int kSpeedTop = 160;     // km/h at the top of the plot
  static constexpr int kPressureTop = 600;  // kPa at the top of the plot
  ValueDisplay& m_display;
};

ValueDisplay::ValueDisplay(const CabSession& session, CabLink link, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_session(session), m_link(std::move(link)) {
  setObjectName(QStringLiteral("ValueDisplay"));
  setWindowTitle(tr("Value Display"));
  auto* layout = new QHBoxLayout(this);
  auto* values = new QGridLayout;
  // Room between a caption and its value, and between the columns.
  values->setHorizontalSpacing(10);
  const std::vector<ValueRow> rows = valueDisplayRows(session.drive(), 0, 0);
  constexpr int kRowsAColumn = 13;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i) % kRowsAColumn,
              column = 2 * (static_cast<int>(i) / kRowsAColumn);
    auto* caption = new QLabel(QString::fromStdString(rows[i].caption));
    caption->setStyleSheet(QStringLiteral("color:#555; padding-left:8px;"));
    auto* value = new QLabel;
    value->setMinimumWidth(110);
    values->addWidget(caption, row, column);
    values->addWidget(value, row, column + 1);
    m_values.push_back(value);
  }
  auto* left = new QVBoxLayout;
  left->addLayout(values);
  m_plot = new ValuePlot(*this);
  left->addWidget(m_plot, 1);
  layout->addLayout(left, 1);

  auto* right = new QVBoxLayout;
  m_grid = new SoundGrid(*this);
  right->addWidget(m_grid);
  // The buttons take no keyboard focus and the frame field only a click's: the keys typed into
  // the window drive the train, a Space never presses a button.
  auto* reload = new QPushButton(tr("SU再読込"));
  reload->setFocusPolicy(Qt::NoFocus);
  connect(reload, &QPushButton::clicked, this, [this] { m_link.input("speedunits", {}); });
  right->addWidget(reload);
  auto* jumpRow = new QHBoxLayout;
  m_jumpTo = new QLineEdit;
  m_jumpTo->setPlaceholderText(tr("フレーム"));
  m_jumpTo->setFocusPolicy(Qt::ClickFocus);
  auto* jumpButton = new QPushButton(tr("jump"));
  jumpButton->setFocusPolicy(Qt::NoFocus);
  connect(jumpButton, &QPushButton::clicked, this, [this] { jump(); });
  connect(m_jumpTo, &QLineEdit::returnPressed, this, [this] { jump(); });
  jumpRow->addWidget(m_jumpTo);
  jumpRow->addWidget(jumpButton);
  right->addLayout(jumpRow);
  m_resistance = new QPushButton(tr("抵抗解除"));
  m_resistance->setFocusPolicy(Qt::NoFocus);
  connect(m_resistance, &QPushButton::clicked, this, [this] {
    m_link.input("set", {"resistance_off", m_session.drive().state.resistance_off ? "0" : "1"});
    showDrive(0);
  });
  right->addWidget(m_resistance);
  right->addStretch(1);
  layout->addLayout(right);
  showDrive(0);
}

void ValueDisplay::jump() {
  // A frame that is not a whole number is said, and the train stays where it is.
  const std::optional<std::int32_t> frame = parseInt(m_jumpTo->text().trimmed().toStdString());
  if (!frame || *frame < 0) {
    m_link.message(
        tr("フレーム番号を数字で入力してください: %1").arg(m_jumpTo->text()).toStdString());
    return;
  }
  m_link.input("set", {"frame", std::to_string(*frame)});
  // The keys drive the train again once the frame is taken.
  m_jumpTo->clearFocus();
}

void ValueDisplay::showDrive(int fps) {
  const SimState& s = m_session.drive().state;
  const std::int64_t now = m_session.now();
  // The values are looked at after every tick and every input; the speed changes only at ticks,
  // so a sample is taken once a tick and the acceleration is the speed's change over the last
  // second of them, not the difference of two looks between ticks.
  if (m_samples.empty() || s.tick_count != m_sampledTick) {
    m_sampledTick = s.tick_count;
    m_samples.push_back({now, static_cast<double>(s.speed), s.bc.toDouble(), s.bp.toDouble()});
    while (m_samples.front().ms < now - 60000)
      m_samples.pop_front();
    m_acceleration = accelerationOverLastSecond(m_samples);
  }
  const std::vector<ValueRow> rows = valueDisplayRows(m_session.drive(), m_acceleration, fps);
  for (std::size_t i = 0; i < rows.size() && i < m_values.size(); ++i)
    m_values[i]->setText(QString::fromStdString(rows[i].value));
  QFont font = m_resistance->font();
  font.setBold(s.resistance_off);
  m_resistance->setFont(font);
  m_grid->update();
  m_plot->update();
}

void ValueDisplay::keyPressEvent(QKeyEvent* event) {
  m_link.key(event);
}

void ValueDisplay::closeEvent(QCloseEvent* event) {
  // The close box puts the window away as F3 does, so that the next F3 brings it out again.
  if (m_session.drive().state.value_window_shown) m_link.input("set", {"value_window_shown", "0"});
  QWidget::closeEvent(event);
}

}  // namespace velimoro::windows
