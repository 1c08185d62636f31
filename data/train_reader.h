#pragma once

#include <string>
#include <string_view>

#include "data/picture_lists.h"
#include "data/read_log.h"
#include "data/train_record.h"
#include "media/picture_loader.h"

namespace velimoro {

/// Where a train data file and the files it names are found: `root` is the data root, and the
/// train file and its pictures and sounds are `trainFolder` + name below it ("" for the trains
/// that sit in the data root).
struct TrainLocation {
  std::string root;
  std::string trainFolder;
  std::string fileName;
};

/// Reads a train data file into `train`, overwriting only the fields whose sections it holds.
/// Loads the picture strips and the stop-line picture as it goes (the stop line is appended to
/// `lists.sign`). Throws DataError with the message the user sees on the first fault; with a
/// `log`, notes every fault there instead, each time going on at the next section, and notes
/// the line of every section and list entry.
void readTrainFile(const TrainLocation& where, TrainSpec& train, media::PictureLoader& pictures,
                   PictureLists& lists, ReadLog* log = nullptr);

/// Whether `line` opens a section of the train data file (starts with one of its keys).
bool opensTrainSection(std::string_view line);

/// The adjustments made once every data file is read: an automatic air brake has four
/// positions, and a stepped brake needs at least three (else DataError).
void settleTrainBrake(TrainSpec& train);

/// The values a drive cannot be simulated without: a train without mass would never change its
/// speed, one without an emergency pressure would have no brake force. Throws DataError naming
/// the section ("[Tons]" or "[EBPress]") when one is not positive.
void requireDrivableTrain(const TrainSpec& train);

}  // namespace velimoro
