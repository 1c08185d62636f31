#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

#include "cab/session.h"

namespace velimoro::shell {

/// The window program's command line.
struct Arguments {
  DriveSetup setup;
  QString screenshot;          // write the screen here after `seconds` of driving and quit
  double screenshotScale = 0;  // --screenshot-scale: the screen composed (and saved) at this scale
  double seconds = 5;
  bool timed = false;    // --seconds given: drive that long unattended, then quit
  bool band = false;     // the band display: a first argument of exactly "1", or --band
  QString keys;          // typed one every 250 ms once the drive has started
  bool measure = false;  // print the steps and passes a second and the UI thread's load, and quit
  QString record;        // every input of the drive, as a script the headless driver replays
  QString trace;         // one row of state fields per tick, as the headless driver writes
  QString serial;        // connect the serial master controller on this port at start
  bool rootGiven = false;
};

/// What reading the command line came to: the arguments to run with, or the exit status after
/// the help, the version or a fault (printed on the way).
struct ParsedCommandLine {
  Arguments arguments;
  std::optional<int> exitStatus;
};

/// The language asked for with --lang (its value as given, checked by parseCommandLine), so that
/// the program's texts, its help among them, are in it from the start; nothing without --lang.
std::optional<std::string> languageAsked(const QStringList& args);

/// Reads `args` (the program's name first, Qt's own options already taken out). Prints the
/// help or the version to the output stream and a fault, naming the option, to the error stream.
ParsedCommandLine parseCommandLine(const QStringList& args);

}  // namespace velimoro::shell
