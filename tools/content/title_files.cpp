#include "tools/content/title_files.h"
#include "tools/content/title_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <numbers>
#include <sstream>
#include <stdexcept>

#include "tools/content/glyphs.h"
#include "tools/content/route_builder.h"
#include "tools/content/route_design.h"
#include "tools/content/train_design.h"
#include "tools/content/video_render.h"
#include "tools/content/writers.h"

namespace velimoro::content::title_art {

// The files of the title screen, and the names the generator knows them by.

namespace {

std::string twoDigits(int n) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d", n);
  return text;
}

}  // namespace

std::vector<std::string> titleFileNames() {
  std::vector<std::string> names;
  for (int i = 1; i <= 6; ++i)
    names.push_back("image/title/line" + std::to_string(i) + ".bmp");
  for (const char* map : {"A", "B", "C"})
    names.push_back(std::string("image/title/line") + map + ".bmp");
  names.push_back("image/title/train1.bmp");
  names.push_back("image/title/train2.bmp");
  for (int i = 1; i <= 6; ++i)
    names.push_back("image/title/title" + twoDigits(i) + ".jpg");
  names.push_back("image/title/title2.jpg");
  for (int i = 1; i <= kOpeningSlides; ++i)
    names.push_back("image/title/op/" + twoDigits(i) + ".jpg");
  for (int i = 1; i <= kEndingSlides; ++i)
    names.push_back("image/title/ed/" + twoDigits(i) + ".jpg");
  names.push_back("sound/42213.wav");
  names.push_back("sound/akaneiro.wav");
  names.push_back("sound/start.wav");
  return names;
}

void writeTitleFiles(const std::string& root) {
  const std::string title = root + "/image/title/";
  for (int i = 0; i < 6; ++i)
    writeBmp(title + "line" + std::to_string(i + 1) + ".bmp", routeButton(i));
  for (char map : {'A', 'B', 'C'})
    writeBmp(title + "line" + map + ".bmp", routeMap(map));
  for (int i = 0; i < 2; ++i)
    writeBmp(title + "train" + std::to_string(i + 1) + ".bmp", trainButton(i));
  for (int i = 0; i < 6; ++i)
    writeJpeg(title + "title" + twoDigits(i + 1) + ".jpg", titlePicture(i), kJpegQuality);
  writeJpeg(title + "title2.jpg", menuBackground(), kJpegQuality);
  for (int i = 0; i < kOpeningSlides; ++i)
    writeJpeg(title + "op/" + twoDigits(i + 1) + ".jpg", openingSlide(i), kJpegQuality);
  for (int i = 0; i < kEndingSlides; ++i)
    writeJpeg(title + "ed/" + twoDigits(i + 1) + ".jpg", endingSlide(i), kJpegQuality);
  writeWave(root + "/sound/42213.wav", openingMusic(), kSampleRate, 16);
  writeWave(root + "/sound/akaneiro.wav", endingMusic(), kSampleRate, 16);
  writeWave(root + "/sound/start.wav", startJingle(), kSampleRate, 16);
}

}  // namespace velimoro::content::title_art

namespace velimoro::content {

Canvas routeButton(int index) {
  return title_art::routeButton(index);
}

Canvas routeMap(char map) {
  return title_art::routeMap(map);
}

Canvas trainButton(int index) {
  return title_art::trainButton(index);
}

Canvas titlePicture(int index) {
  return title_art::titlePicture(index);
}

Canvas menuBackground() {
  return title_art::menuBackground();
}

Canvas openingSlide(int index) {
  return title_art::openingSlide(index);
}

Canvas endingSlide(int index) {
  return title_art::endingSlide(index);
}

Samples openingMusic() {
  return title_art::openingMusic();
}

Samples endingMusic() {
  return title_art::endingMusic();
}

Samples startJingle() {
  return title_art::startJingle();
}

std::vector<std::string> titleFileNames() {
  return title_art::titleFileNames();
}

void writeTitleFiles(const std::string& root) {
  title_art::writeTitleFiles(root);
}

}  // namespace velimoro::content
