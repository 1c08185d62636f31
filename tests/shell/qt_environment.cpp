// The shell's tests share one Qt application.
#include "support/qt_app.h"

namespace {

const auto* const kQt = ::testing::AddGlobalTestEnvironment(new velimoro::testing::QtEnvironment);

}  // namespace
