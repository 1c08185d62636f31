#include "present/panel.h"

#include <algorithm>

#include "data/data_error.h"
#include "data/paths.h"
#include "media/translate.h"
#include "sim/sim_drive.h"

namespace velimoro {
namespace {

enum class Kind { kPlain, kRotating };

class PanelBuilder {
 public:
  PanelBuilder(SimDrive& drive, media::PictureStore& store, media::SpriteEngine& sprites)
      : m_drive(drive), m_store(store), m_sprites(sprites) {}

  // Builds one element of the panel step from its own file; nothing when the file line is empty.
  template <typename Element>
  std::optional<int> element(const Element& e, Kind kind, int z, bool transparent, bool visible) {
    if (e.file.empty()) return std::nullopt;
    const auto picture =
        m_store.load(resolvePath(m_drive.setup.root, m_drive.setup.trainFolder + e.file));
    if (!picture) {
      throw DataError(media::fill(media::translate("Panel", "%1の生成エラー"), {e.file}));
    }
    if (transparent) {
      keyBottomLeft(m_store, *picture);
    } else {
      m_store.setTransparent(*picture, false, 0);
    }
    const int sprite = m_sprites.createSprite(*picture, kind == Kind::kRotating);
    place(sprite, e.x, e.y, z);
    if (!visible) m_sprites.setVisible(sprite, false);
    return sprite;
  }

  // Builds a strip from the picture the train reader loaded, showing one pattern at a time.
  std::optional<int> strip(const PictureStrip& s, int z) {
    if (s.file.empty() || !s.picture) return std::nullopt;
    keyBottomLeft(m_store, *s.picture);
    // A strip without a usable pattern size is shown whole.
    const bool cut = s.patternWidth > 0 && s.patternHeight > 0;
    if (cut) m_store.setPatternSize(*s.picture, s.patternWidth, s.patternHeight);
    const int sprite = m_sprites.createSprite(*s.picture, false);
    place(sprite, s.x, s.y, z);
    if (cut) m_sprites.setSize(sprite, s.patternWidth, s.patternHeight);
    return sprite;
  }

  // The clock picture, cleared to a transparent background; it gets a sprite when "[Clock]"
  // places it on the panel.
  void clock(CabPanel& panel) {
    const int picture = m_store.createPicture(CabPanel::kClockSize, CabPanel::kClockSize,
                                              CabPanel::kClockBackground);
    m_store.setTransparent(picture, true, CabPanel::kClockBackground);
    panel.clockPicture = picture;
    const ClockSpec& spec = m_drive.train->Clock;
    if (spec.x <= 0 || spec.y <= 0) return;
    const int sprite = m_sprites.createSprite(picture, false);
    place(sprite, spec.x, spec.y, CabPanel::kClockZ);
    panel.clockSprite = sprite;
  }

  // The remaining-distance pointer's picture: an arrow pointing left, at the picture.
  void stopPointer(CabPanel& panel) {
    constexpr int kSize = CabPanel::kPointerSize;
    const int picture = m_store.createPicture(kSize, kSize, CabPanel::kClockBackground);
    m_store.setTransparent(picture, true, CabPanel::kClockBackground);
    constexpr media::Rgb kArrow = 0xFFD020;
    constexpr media::Rgb kEdge = 0x302000;
    for (int y = 1; y < kSize - 1; ++y)
      m_store.drawLine(picture, kSize - 2, y, 1, kSize / 2, kArrow, 1);
    m_store.drawLine(picture, 1, kSize / 2, kSize - 2, 1, kEdge, 1);
    m_store.drawLine(picture, 1, kSize / 2, kSize - 2, kSize - 2, kEdge, 1);
    m_store.drawLine(picture, kSize - 2, 1, kSize - 2, kSize - 2, kEdge, 1);
    panel.stopPointerPicture = picture;
  }

 private:
  void place(int sprite, int x, int y, int z) {
    m_sprites.setPosition(sprite, x, y);
    m_sprites.setZ(sprite, z);
  }

  SimDrive& m_drive;
  media::PictureStore& m_store;
  media::SpriteEngine& m_sprites;
};

}  // namespace

void keyBottomLeft(media::PictureStore& store, int picture) {
  const auto size = store.size(picture);
  if (!size || size->first <= 0 || size->second <= 0) return;
  const auto colour = store.pixel(picture, 0, size->second - 1);
  if (colour) store.setTransparent(picture, true, *colour);
}

void buildPanel(SimDrive& drive, CabPanel& panel, media::PictureStore& store,
                media::SpriteEngine& sprites) {
  const TrainSpec& t = *drive.train;
  PanelBuilder b(drive, store, sprites);
  CabPanel p;
  const Kind plain = Kind::kPlain;
  const Kind rotating = Kind::kRotating;

  p.panel = b.element(t.Panel, plain, CabPanel::kPanelZ, false, true);
  p.overlay = b.element(t.Panel2, rotating, CabPanel::kOverlayZ, false, true);
  if (p.overlay) sprites.setAlpha(*p.overlay, 0);
  b.clock(p);
  b.stopPointer(p);

  p.lampDoor = b.element(t.Lamp_Door, plain, 1, true, true);
  p.lampPower = b.element(t.Lamp_Power, plain, 2, true, true);
  p.lampEb = b.element(t.Lamp_EB, plain, 3, true, true);
  p.lampGen = b.element(t.Lamp_Gen, plain, 4, true, true);
  p.lampAir = b.element(t.Lamp_Air, plain, 5, true, true);
  p.lampEle = b.element(t.Lamp_Ele, plain, 6, true, true);
  // The protection lamps are lit by the protection once the drive has started.
  p.lampAts1 = b.element(t.Lamp_Ats1, plain, 7, true, false);
  p.lampAts2 = b.element(t.Lamp_Ats2, plain, 8, true, false);
  p.lampAtsp1 = b.element(t.Lamp_ATSP1, plain, 9, true, false);
  p.lampAtsp2 = b.element(t.Lamp_ATSP2, plain, 10, true, false);
  p.lampFwd = b.element(t.Lamp_Fwd, plain, 11, true, true);
  p.lampBack = b.element(t.Lamp_Back, plain, 12, true, false);
  p.lampStop = b.element(t.Lamp_Stop, plain, 13, true, false);
  p.needleSpeed = b.element(t.Needle_Speed, rotating, 14, true, true);
  p.needleEr = b.element(t.Needle_ER, rotating, 15, true, true);
  p.needleBp = b.element(t.Needle_BP, rotating, 16, true, true);
  p.needleMr = b.element(t.Needle_MR, rotating, 17, true, true);
  p.needleSap = b.element(t.Needle_SAP, rotating, 18, true, true);
  p.needleBc = b.element(t.Needle_BC, rotating, 19, true, true);
  p.needleV = b.element(t.Needle_V, rotating, 20, true, true);
  p.needleI = b.element(t.Needle_I, rotating, 21, true, true);
  p.lampConst = b.element(t.Lamp_Const, plain, CabPanel::kLampConstZ, true, false);
  const int others = std::clamp(t.OtherCount, 0, TrainSpec::kMaxOthers);
  for (int i = 0; i < others; ++i) {
    const auto slot = static_cast<std::size_t>(i);
    p.others[slot] = b.element(t.Others[slot], plain, CabPanel::kFirstOtherZ + i, true, i == 0);
  }

  const int z = CabPanel::kFirstStripZ;
  p.cabSignal = b.strip(t.Lamp_signal, z);
  p.notchP = b.strip(t.NotchImageP, z + 1);
  p.notchB = b.strip(t.NotchImageB, z + 2);
  p.notchP2 = b.strip(t.NotchImageP2, z + 3);
  p.notchB2 = b.strip(t.NotchImageB2, z + 4);
  p.gear = b.strip(t.GearImageList, z + 5);
  p.gearLever = b.strip(t.GearImageList2, z + 6);
  panel = p;
}

}  // namespace velimoro
