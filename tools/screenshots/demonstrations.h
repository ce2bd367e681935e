#pragma once

#include <QImage>

#include <string>
#include <vector>

namespace varelo {
class ApplicationWindows;
class ScriptedModalBoxes;
}  // namespace varelo

namespace varelo::screenshots {

// One demonstration of the README played on the started program: the user's
// clicks and answers, then the picture of the window it is about. `failure`
// says what did not happen as the README tells (the picture is then not
// worth keeping).
struct Picture {
    QImage image;
    std::string failure;
};

// The names the demonstrations go by: "weight", "poll", "tag", "echo".
std::vector<std::string> DemonstrationNames();

Picture PlayDemonstration(const std::string& name, ApplicationWindows& windows, ScriptedModalBoxes& boxes);

}  // namespace varelo::screenshots
