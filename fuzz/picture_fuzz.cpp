// Picture loading (BMP, JPEG and what else the image library reads): the cab screen's pictures
// and the checker's BMP size reader.
#include "fuzz/fuzz_support.h"
#include "media/qt_cab_screen.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  // The name carries no suffix: the image library goes by the content, as it does for a picture
  // named with the wrong suffix.
  const std::string path = fuzz::writeScratch("picture", data, size);
  // One screen for the whole process, its pictures released after each input: the screen's
  // surfaces are made once.
  static media::QtCabScreen& screen = *new media::QtCabScreen();
  if (const auto handle = screen.load(path)) {
    screen.size(*handle);
    screen.pixel(*handle, 0, 0);
    screen.drawPicture(*handle, 0, 0);
  }
  screen.releasePictures();
  media::FileCheckPictureLoader files;
  if (const auto handle = files.load(path)) files.size(*handle);
  return 0;
}
