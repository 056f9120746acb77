#pragma once
// The pictures of the menus, tool bars and buttons: the style's standard
// icons and a few drawings of our own compiled into the program, so no
// picture can be missing.
#include <QIcon>

namespace vexamo::desktop {

enum class IconId {
    Application,
    Open,
    Save,
    SaveAs,
    Font,
    Print,
    About,
    HomePage,
    Exit,
    TechnoData,
    DesignData,
    ProblemFile,
    Run,
    Profile,
};

QIcon icon(IconId id);

}  // namespace vexamo::desktop
