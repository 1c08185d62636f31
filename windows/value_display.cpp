#include "windows/value_display.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

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

// The speed (km/h) and the brake cylinder and brake pipe pressures (kPa) over the last minute.
class ValuePlot final : public QWidget {
 public:
  explicit ValuePlot(ValueDisplay& display) : m_display(display) { setMinimumSize(300, 140); }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), QColor(0x20, 0x22, 0x26));
    const auto& samples = m_display.m_samples;
    if (samples.size() < 2) return;
    const std::int64_t last = samples.back().ms;
    const double width = this->width(), height = this->height() - 14;
    const auto x = [&](std::int64_t ms) {
      return width - static_cast<double>(last - ms) * width / 60000.0;
    };
    struct Line {
      double ValueDisplay::Sample::*field;
      double top;
      QColor colour;
      const char* name;
    };
    const Line lines[] = {{&ValueDisplay::Sample::speed, 160, QColor(0x60, 0xD0, 0x60), "km/h"},
                          {&ValueDisplay::Sample::bc, 600, QColor(0xF0, 0x60, 0x50), "BC"},
                          {&ValueDisplay::Sample::bp, 600, QColor(0x60, 0xA0, 0xF0), "BP"}};
    int legend = 4;
    for (const Line& line : lines) {
      QPainterPath path;
      bool first = true;
      for (const auto& sample : samples) {
        const double y =
            height - std::clamp(sample.*line.field / line.top, 0.0, 1.0) * (height - 4);
        if (first)
          path.moveTo(x(sample.ms), y);
        else
          path.lineTo(x(sample.ms), y);
        first = false;
      }
      painter.setPen(QPen(line.colour, 1.5));
      painter.drawPath(path);
      painter.drawText(legend, this->height() - 2, QString::fromUtf8(line.name));
      legend += 48;
    }
  }

 private:
  ValueDisplay& m_display;
};

ValueDisplay::ValueDisplay(const CabSession& session, CabLink link, QWidget* parent)
    : QWidget(parent, Qt::Tool), m_session(session), m_link(std::move(link)) {
  setObjectName(QStringLiteral("ValueDisplay"));
  setWindowTitle(QStringLiteral("Value Display"));
  auto* layout = new QHBoxLayout(this);
  auto* values = new QGridLayout;
  const std::vector<ValueRow> rows = valueDisplayRows(session.drive(), 0, 0);
  constexpr int kRowsAColumn = 13;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const int row = static_cast<int>(i) % kRowsAColumn,
              column = 2 * (static_cast<int>(i) / kRowsAColumn);
    auto* caption = new QLabel(QString::fromStdString(rows[i].caption));
    caption->setStyleSheet(QStringLiteral("color:#555;"));
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
  auto* reload = new QPushButton(QStringLiteral("SU再読込"));
  reload->setFocusPolicy(Qt::NoFocus);
  connect(reload, &QPushButton::clicked, this, [this] { m_link.input("speedunits", {}); });
  right->addWidget(reload);
  auto* jumpRow = new QHBoxLayout;
  m_jumpTo = new QLineEdit;
  m_jumpTo->setPlaceholderText(QStringLiteral("frame"));
  m_jumpTo->setFocusPolicy(Qt::ClickFocus);
  auto* jumpButton = new QPushButton(QStringLiteral("jump"));
  jumpButton->setFocusPolicy(Qt::NoFocus);
  connect(jumpButton, &QPushButton::clicked, this, [this] { jump(); });
  connect(m_jumpTo, &QLineEdit::returnPressed, this, [this] { jump(); });
  jumpRow->addWidget(m_jumpTo);
  jumpRow->addWidget(jumpButton);
  right->addLayout(jumpRow);
  m_resistance = new QPushButton(QStringLiteral("抵抗解除"));
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
    m_link.message("フレーム番号を数字で入力してください: " + m_jumpTo->text().toStdString());
    return;
  }
  m_link.input("set", {"frame", std::to_string(*frame)});
  // The keys drive the train again once the frame is taken.
  m_jumpTo->clearFocus();
}

void ValueDisplay::showDrive(int fps) {
  const SimState& s = m_session.drive().state;
  const std::int64_t now = m_session.now();
  // The acceleration over the last second of samples.
  double acceleration = 0;
  if (!m_samples.empty()) {
    const Sample& back = m_samples.back();
    if (now > back.ms)
      acceleration =
          (static_cast<double>(s.speed) - back.speed) * 1000.0 / static_cast<double>(now - back.ms);
  }
  if (m_samples.empty() || now > m_samples.back().ms) {
    m_samples.push_back({now, static_cast<double>(s.speed), s.bc.toDouble(), s.bp.toDouble()});
    while (m_samples.front().ms < now - 60000)
      m_samples.pop_front();
  }
  const std::vector<ValueRow> rows = valueDisplayRows(m_session.drive(), acceleration, fps);
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
