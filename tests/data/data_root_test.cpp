// Where a program started without --root finds its data: its own folder, the current folder,
// then the user's data folder.
#include "data/data_root.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/test_support.h"

namespace velimoro {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the scope and puts back what was there.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : m_name(name) {
    if (const char* old = std::getenv(name)) m_old = old;
    m_had = std::getenv(name) != nullptr;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (m_had) {
      setenv(m_name, m_old.c_str(), 1);
    } else {
      unsetenv(m_name);
    }
  }

 private:
  const char* m_name;
  std::string m_old;
  bool m_had = false;
};

TEST(DataRoot, TheProgramFolderThenTheCurrentFolderThenTheUsersDataFolder) {
  testing::TempDir dir;
  const fs::path program = dir.file("bin"), current = dir.file("cwd"), data = dir.file("data");
  fs::create_directories(program);
  fs::create_directories(current);
  const fs::path before = fs::current_path();
  fs::current_path(current);
  ScopedEnv xdg("XDG_DATA_HOME", data.c_str());

  EXPECT_EQ(findDataRoot(program), fs::path());
  dir.writeBytes("data/velimoro/dorvanel.dat", "");
  EXPECT_EQ(findDataRoot(program), data / "velimoro");
  dir.writeBytes("cwd/dorvanel.dat", "");
  EXPECT_EQ(findDataRoot(program), fs::path("."));
  dir.writeBytes("bin/dorvanel.dat", "");
  EXPECT_EQ(findDataRoot(program), program);
  fs::current_path(before);
}

TEST(DataRoot, TheUsersDataFolderFollowsTheBaseDirectoryRules) {
  {
    ScopedEnv xdg("XDG_DATA_HOME", "/x/data");
    EXPECT_EQ(userDataRoot(), fs::path("/x/data/velimoro"));
  }
  ScopedEnv home("HOME", "/home/u");
  // Unset, empty and relative values all fall back to the home folder.
  for (const char* value : {static_cast<const char*>(nullptr), "", "data"}) {
    ScopedEnv xdg("XDG_DATA_HOME", value);
    EXPECT_EQ(userDataRoot(), fs::path("/home/u/.local/share/velimoro"));
  }
  ScopedEnv noHome("HOME", nullptr);
  ScopedEnv noXdg("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(userDataRoot(), fs::path());
}

}  // namespace
}  // namespace velimoro
