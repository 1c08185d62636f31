#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velimoro::media {

/// Loads the pictures that the data files name (panel strips, boards, signal pictures) into the
/// drive's picture store. A handle is opaque to the core; the presentation layer draws with it.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;

  /// Loads the picture at `path` (already resolved); nullopt when it cannot be loaded.
  virtual std::optional<int> load(const std::string& path) = 0;
  /// Width and height in pixels of loaded picture `handle`; nullopt when the loader cannot tell.
  virtual std::optional<std::pair<int, int>> size(int handle) const;
};

/// Stands in until pictures are decoded: accepts a file that exists and can be opened, and
/// knows the size of a BMP file from its header.
class FileCheckPictureLoader final : public PictureLoader {
 public:
  std::optional<int> load(const std::string& path) override;
  std::optional<std::pair<int, int>> size(int handle) const override;

 private:
  std::vector<std::optional<std::pair<int, int>>> m_sizes;  // by handle
};

/// Width and height of the BMP file at `path` from its header; nullopt when it is not a BMP.
std::optional<std::pair<int, int>> bmpSize(const std::string& path);

}  // namespace velimoro::media
