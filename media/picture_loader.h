#pragma once

#include <optional>
#include <string>

namespace velimoro::media {

/// Loads the pictures that the data files name (panel strips, boards, signal pictures) into the
/// drive's picture store. A handle is opaque to the core; the presentation layer draws with it.
class PictureLoader {
 public:
  virtual ~PictureLoader() = default;

  /// Loads the picture at `path` (already resolved); nullopt when it cannot be loaded.
  virtual std::optional<int> load(const std::string& path) = 0;
};

/// Stands in until pictures are decoded: accepts a file that exists and can be opened.
class FileCheckPictureLoader final : public PictureLoader {
 public:
  std::optional<int> load(const std::string& path) override;

 private:
  int m_next = 0;
};

}  // namespace velimoro::media
