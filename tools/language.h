#pragma once

#include <string>
#include <vector>

namespace velimoro::tools {

/// Chooses the language of a command-line program's texts before it prints any: the value of
/// "--lang ja|en" among `args` (the arguments after the program's name, up to a "--"), else the
/// language kept in the settings store, else the system locale's. Takes the option out of
/// `args`; returns false, with every text in the language it fell back on, when its value is
/// neither "ja" nor "en" or is missing (`fault` then holds the translated reason).
bool chooseLanguage(std::vector<std::string>& args, std::string& fault);

}  // namespace velimoro::tools
