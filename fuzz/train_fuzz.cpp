// The train data file, read as the checker reads it (every fault noted, never thrown: the drive's
// reading stops at the first of those faults), then settled and checked for driving.
#include "data/data_error.h"
#include "data/train_reader.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace velimoro;
  fuzz::writeScratch("train.dat", data, size);
  fuzz::AnyPictureLoader pictures;
  const fuzz::Fixture<TrainSpec> fixture;
  TrainSpec& train = *fixture;
  PictureLists lists;
  ReadLog log;
  readTrainFile({fuzz::scratchRoot(), "", "train.dat"}, train, pictures, lists, &log);
  try {
    settleTrainBrake(train);
    requireDrivableTrain(train);
  } catch (const DataError&) {
  }
  return 0;
}
