#pragma once
// Where an installed suite runs. The programs keep every file they read and write in their
// working directory (bin/) and its siblings (gui/, ParameterFile/, PV Record/), as in the build
// tree. Installed, the programs sit in a private folder that the user cannot write, so each user
// gets a run tree of their own under $XDG_DATA_HOME, with gui/ linked to the installed panels.

#include <string>

namespace sys {

// The suite's name for its folders: <prefix>/lib/<name> for the programs,
// <prefix>/share/<name>/gui for the panels, $XDG_DATA_HOME/<name> for a user's run tree.
inline constexpr const char* kSuiteFolderName = "rtu-configurator";

// What decides where the programs run.
struct RunTreePlace {
    std::string programDir;   // folder of the running executable
    std::string xdgDataHome;  // $XDG_DATA_HOME, empty when unset
    std::string home;         // $HOME, empty when unset
};
RunTreePlace SystemRunTreePlace();

inline constexpr int kRunTreeAsIs = 0;     // build tree (gui/ beside the programs): nothing done
inline constexpr int kRunTreeEntered = 1;  // installed: the user's run tree is the working dir
inline constexpr int kRunTreeFailed = -1;  // installed, but the run tree cannot be made or entered

// The panels of an installed suite (<programDir>/../../share/<name>/gui), or empty when the
// programs are not installed that way.
std::string InstalledGuiDir(const std::string& programDir);

// The root of the user's run tree: $XDG_DATA_HOME/<name> (when absolute), else
// $HOME/.local/share/<name>; empty when neither is usable.
std::string UserRunTreeRoot(const RunTreePlace& place);

// Build tree: kRunTreeAsIs. Installed: makes <root>/bin, <root>/ParameterFile and
// <root>/PV Record when missing, points <root>/gui at the installed panels (a link left by an
// earlier install elsewhere is moved; a real folder of that name is the user's and stays), enters
// <root>/bin and stores it in *runDir: kRunTreeEntered. On failure *error says what and where.
int EnterRunTree(const RunTreePlace& place, std::string* runDir, std::string* error);

}  // namespace sys
