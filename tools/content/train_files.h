#pragma once

#include <string>
#include <vector>

#include "tools/content/train_design.h"

namespace velimoro::content {

/// The lines of the train data file of `design` (UTF-8; written as CP932).
std::vector<std::string> trainFileLines(const TrainDesign& design);

/// Writes the train data file, its panel pictures and its sounds into `root`.
void writeTrain(const TrainDesign& design, const std::string& root);

}  // namespace velimoro::content
