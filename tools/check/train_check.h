#pragma once

#include <string>

#include "data/train_reader.h"
#include "tools/check/finding.h"

namespace velimoro::check {

/// Checks the train data file at `where` (named `shown` in the findings): every fault the
/// program would stop at, then the files it names (pictures and sounds, each as the program
/// needs it) and its power modes against its notches.
void checkTrainFile(const TrainLocation& where, const std::string& shown, Findings& out);

}  // namespace velimoro::check
