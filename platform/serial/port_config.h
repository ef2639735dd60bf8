#pragma once
// Settings of one port that its line needs besides baud rate and frame format, kept in a file
// COM<n>.conf beside the COM<n> link: "key=value" lines, blank lines and "#" comments allowed.
//
//   echo=on|off   on: the adapter hears its own transmission (a half-duplex RS-485 adapter
//                 without echo suppression), so every request comes back ahead of its answer.

#include <string>
#include <vector>

namespace serial {

struct PortConfig {
    bool echo = false;
};

// The settings in the text of a COM<n>.conf named `name` (for the notes). A line with an
// unknown key or value, or that is no "key=value", is ignored and said in one note
// ("COM5.conf line 3: unknown key \"speed\", ignored").
PortConfig ParsePortConfig(const std::string& text, const std::string& name,
                           std::vector<std::string>* notes);

// The settings in the file at path; the defaults when there is none. A file that is there but
// cannot be read is said in a note and gives the defaults.
PortConfig ReadPortConfig(const std::string& path, std::vector<std::string>* notes);

}  // namespace serial
