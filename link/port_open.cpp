#include "link/port_open.h"

#include <cstdio>

#include "platform/serial/rs232.h"
#include "platform/serial/serial_error.h"

namespace conf {

int fn_BR_to_Baud(int br) {
    return 2400 << br;
}

int fn_RTU_to_Parity(int rtu) {
    return rtu == 2 ? 1 : rtu == 3 ? 2 : 0;
}

int fn_RTU_to_Stop_Bits(int rtu) {
    return rtu == 1 ? 2 : 1;
}

int fn_Check_Line_Settings(LinkObserver& observer, int br, int parity, int dataBits, int stopBits) {
    if (br < 0 || br > 3) {
        observer.Popup("fn_Open_Com :: Baud Rate Sequence", "BR out of range");
        return -1;
    }
    if (parity < 0 || parity > 4) {
        observer.Popup("fn_Open_Com :: Parity Bit", "vPB out of range");
        return -1;
    }
    if (dataBits < 5 || dataBits > 8) {
        observer.Popup("fn_Open_Com :: Data Bit", "vDB out of range");
        return -1;
    }
    if (stopBits < 1 || stopBits > 2) {
        observer.Popup("fn_Open_Com :: Stop Bit", "vSB out of range : " + std::to_string(stopBits));
        return -1;
    }
    return 0;
}

namespace {

// The port's notes after its record, each a line of its own; the urgent ones in a message box
// too, since a technician must act on them before the line can work: at every failed open, and
// once per run for an open that went through (a sweep opens the port again and again).
void SayNotes(LinkObserver& observer, serial::Rs232& port, const std::string& name,
              const std::string& recordEnd, bool failed) {
    for (const serial::OpenNote& note : port.LastOpenNotes()) {
        observer.PortRecord(name + " :: " + note.text + recordEnd);
        if (note.urgent && (port.FirstTimeSaid(note.text) || failed))
            observer.Popup("Open " + name, note.text);
    }
}

}  // namespace

int OpenLine(const LinkSession& session, LinkObserver& observer, int com, int br, int parity,
             int dataBits, int stopBits, const std::string& recordEnd) {
    const std::string name = "COM" + std::to_string(com);
    const int baud = fn_BR_to_Baud(br);
    char line[160];
    std::snprintf(line, sizeof line, "Open COM ( P%d, %6s, %d, %d, %d, %d ) \t", session.port,
                  name.c_str(), baud, parity, dataBits, stopBits);
    observer.PortRecord(line);
    if (!session.com) return serial::kErrNotOpen;
    serial::Rs232& port = *session.com;
    const int r = port.OpenComConfig(session.port, name, baud, parity, dataBits, stopBits);
    if (r < 0) {
        port.CloseCom(session.port);
        // End the record with what a technician can act on (busy, permission, unplugged).
        const std::string& detail = port.LastErrorDetail();
        observer.PortRecord(std::string("open NG :: ") + serial::SerialErrorText(r) +
                            (detail.empty() ? "" : " (" + detail + ")") + recordEnd);
        SayNotes(observer, port, name, recordEnd, true);
        return r;
    }
    if (port.SetComTime(session.port, session.timeout) < 0)
        observer.Popup("1929", "SetComTime err");
    std::snprintf(line, sizeof line, "Set Com Time (s) : %f", session.timeout);
    observer.PortRecord(line + recordEnd);
    SayNotes(observer, port, name, recordEnd, false);
    // What the port's own settings file holds that was ignored, and an echo that changes every
    // exchange: a technician reading the log sees both.
    for (const std::string& note : port.ConfigNotes(session.port))
        observer.PortRecord(note + recordEnd);
    if (port.Config(session.port).echo)
        observer.PortRecord(name + ": echo=on, each request is read back before its answer" +
                            recordEnd);
    return 0;
}

}  // namespace conf
