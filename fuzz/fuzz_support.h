#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <string>

#include "media/picture_loader.h"

namespace velimoro::fuzz {

/// A folder of this process's own for the files a target writes, ending in "/": below /dev/shm
/// when it can be written (no disk traffic), else below TMPDIR. Removed when the process ends.
const std::string& scratchRoot();

/// Writes `size` bytes at `data` to `name` below the scratch root, making its folders; returns
/// the file's path.
std::string writeScratch(const std::string& name, const std::uint8_t* data, std::size_t size);

/// A `T` as freshly made, to be read into, for the length of one execution: it lives in storage
/// kept for the whole process, so that a large record of fixed tables costs no allocation and no
/// fresh pages per execution, and it is destroyed when the execution ends, so that every
/// execution frees what it allocated (an execution that ends with more allocations than frees
/// makes libFuzzer run it again under the leak checker). One at a time per `T`.
template <typename T>
class Fixture {
 public:
  Fixture() : m_object(new (storage()) T()) {}
  ~Fixture() { m_object->~T(); }
  Fixture(const Fixture&) = delete;
  Fixture& operator=(const Fixture&) = delete;

  T& operator*() const { return *m_object; }

 private:
  static void* storage() {
    alignas(T) static unsigned char bytes[sizeof(T)];
    return bytes;
  }

  T* m_object;
};

/// Accepts every picture name, so that a reader goes on past its pictures to the rest of the
/// file; the pictures themselves are fuzzed by the picture target.
class AnyPictureLoader final : public media::PictureLoader {
 public:
  std::optional<int> load(const std::string&) override { return m_next++; }

 private:
  int m_next = 0;
};

}  // namespace velimoro::fuzz
