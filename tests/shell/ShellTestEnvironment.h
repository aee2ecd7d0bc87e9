#pragma once

#include <QString>

// Puts the standard folders, the strings and the seams of one test into a known state and restores them after:
// standard folders under a fresh folder, English texts, and recording stand-ins for alerts, modal runs, panels
// and the workspace (nothing blocks, nothing leaves the process).
class ShellTestEnvironment {
public:
    ShellTestEnvironment();
    ~ShellTestEnvironment();

    QString root; // holds Movies, Documents and Desktop
};
