#pragma once

#include <string>
#include <vector>

namespace velimoro::content {

/// "dorvanel.dat": handle and station words, menu captions, the route video folder "move\".
std::vector<std::string> uiStringLines();
/// "mascon.dat": the 22 codes of the serial master controller, in position order.
std::vector<std::string> controllerMapLines();
/// "operation.dat": the help window's caption line, then its text.
std::vector<std::string> helpTextLines();
/// "readme.html": the help page (UTF-8).
std::string readmeHtml();

/// Writes the four files into `root`.
void writeUiFiles(const std::string& root);

}  // namespace velimoro::content
