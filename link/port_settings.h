#pragma once
// The port settings file "COM_Dev_use.txt" that the scanner hands over (five decimal fields
// and the model code in hex, one a line) and its commented twin for people. Both are read and
// written so that nothing else at their names holds a program: a FIFO is neither waited on
// nor read, and only the start of a file is read, as far as its fields go.

#include <string>

namespace conf {

inline constexpr const char* kComDevUseFile = "COM_Dev_use.txt";
inline constexpr const char* kComDevUseCommentFile = "COM_Dev_use_COMMENT.txt";

// Port settings as the settings file holds them.
struct PortSettings {
    int com = 0;
    int br = 0;  // baud-rate index: 2400 << br
    int parity = 0;
    int dataBits = 0;
    int stopBits = 0;
    unsigned mcode = 0;
};

// How many of the file's fields a reader uses, in file order.
inline constexpr int kPortFieldsCom = 1;   // the COM number alone (the reopen)
inline constexpr int kPortFieldsLine = 5;  // COM number and line settings (the start)
inline constexpr int kPortFieldsAll = 6;   // with the model code (the scanner's hand-over)

// Writes both settings files, replacing them: 0, or -1 when either cannot be written in full.
int fn_Write_Port_Settings(int com, int br, int parity, int dataBits, int stopBits, unsigned mcode);
// Reads the settings file: 0, or -1 when it cannot be read (missing, not a regular file).
// Fields that are missing or not numbers read as 0, which the open then refuses; the fields
// after one that is not a number read as 0 too.
int fn_Read_Port_Settings(PortSettings* out);
// The same, and *problem says what is wrong for the log: why a file that is there cannot be
// read (-1; nothing for a missing file, which the open report names as it is),
// or the first of the first `fieldsUsed` fields that is missing, not a number or outside its
// range, with its line ("line 2: baud-rate index 7 out of range 0-3"); empty when they are
// all good. Fields beyond `fieldsUsed` are read but never named.
int fn_Read_Port_Settings(PortSettings* out, int fieldsUsed, std::string* problem);

}  // namespace conf
