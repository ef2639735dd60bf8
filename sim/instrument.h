#pragma once
// The simulated instrument: RAM and EEPROM banks behind a model's register map, its link
// settings, the measuring input, injected faults and a log of every request. It sees whole
// request frames with their timing and knows nothing of how the bytes travel.

#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "platform/serial/line_settings.h"
#include "sim/config.h"
#include "sim/fault.h"
#include "sim/frame.h"
#include "sim/measurement.h"
#include "sim/register_map.h"

namespace sim {

// Modbus exception codes the instrument answers with.
inline constexpr int kIllegalFunction = 1;
inline constexpr int kIllegalAddress = 2;
inline constexpr int kIllegalValue = 3;

// The value of the forcing register that puts the instrument on station 1, 19200 baud, 8N2.
inline constexpr int kForceValue = 0x6C2E;

// An answer, or silence, and when its bytes are on the line.
struct Reply {
    Bytes bytes;            // empty: nothing is sent
    double start = 0.0;     // when the first byte begins
    double charTime = 0.0;  // byte i has fully arrived at start + (i + 1) * charTime
    // A fault the line carries out: kReset drops the connection after the last byte, kStall
    // stops the line passing anything, kEchoGarbled and kEchoLost spoil the echo (Echo).
    FaultKind fault = FaultKind::kNone;
};

enum class Outcome {
    kAnswered,       // a normal answer
    kException,      // an exception answer
    kBroadcast,      // station 0: carried out (unless refused), never answered
    kOtherStation,   // addressed to another station
    kWrongSettings,  // sent at other line settings than the instrument's: not heard
    kBadFrame,       // too short or a wrong CRC: ignored
    kFaulted,        // an injected fault struck (see LogEntry::fault)
    kAbsent,         // the port had vanished
};

const char* OutcomeName(Outcome outcome);

struct LogEntry {
    double start = 0.0;             // when the master began sending
    double end = 0.0;               // when the last byte had arrived
    serial::LineSettings settings;  // the master's
    bool parityKnown = true;        // false where the line does not carry parity
    Bytes request;
    Outcome outcome = Outcome::kBadFrame;
    int exceptionCode = 0;  // of an exception answer or a refused broadcast
    FaultKind fault = FaultKind::kNone;
    Bytes answer;  // as it went on the line
};

// "12.345678 19200 8N2 01 03 1F 00 00 04 47 DD -> answered: 01 03 08 ..."
std::string FormatLogEntry(const LogEntry& entry);

struct CalibrationRecord {
    double time = 0.0;
    int functionCode = 0;  // 5 RAM, 6 EEPROM, as the command came
    int command = 0;
    std::int32_t readings[2] = {0, 0};  // the converter readings it was given at
};

class Instrument {
  public:
    // Switched on at powerOn, in seconds of the clock the requests are timed by. Fields of
    // config out of range (see CheckConfig) fall back to the model's defaults.
    explicit Instrument(const InstrumentConfig& config, double powerOn = 0.0);

    // A request frame the master sent at its line settings, its last byte having arrived at
    // `end`. Returns the answer and its timing, or silence. Any bytes are taken.
    Reply Handle(const serial::LineSettings& master, const Bytes& frame, double end);

    // What the line hands back of a transmission the instrument took with reply `r`: nothing
    // without echo on; else the bytes as they went, one of them wrong or all lost when an echo
    // fault struck.
    Bytes Echo(const Bytes& sent, const Reply& r) const;

    // Off and on again: RAM reloads from EEPROM, relay tests, the remote value and the last
    // calibration command clear, the value starts its sweep again. Faults stay armed.
    void PowerCycle(double now);

    // The instrument's own line settings and station at `now`: a change made by a request
    // takes effect once its answer has gone out.
    serial::LineSettings Settings(double now);
    int Station(double now);

    // Bank contents of a stored register (16-bit values sign-extended): 0, or -1 when the
    // model has no such stored register.
    int RamValue(int address, std::int32_t* value) const;
    int StoredValue(int address, std::int32_t* value) const;
    // What a read of the register gives at `now`: 0, or the exception code it would answer.
    int ReadValue(int address, double now, std::int32_t* value) const;

    // Model A's open sensor (its process value 0x7FFF); model B has no such code and stays as
    // it is.
    void SetOpenSensor(bool open) { openSensor_ = open && config_.model == Model::kA; }
    bool OpenSensor() const { return openSensor_; }

    void AddFault(const Fault& fault);
    void ClearFaults() { faults_.clear(); }

    // False from a vanish fault until Replug.
    bool Present() const { return present_; }
    void Replug() { present_ = true; }

    const std::vector<LogEntry>& Log() const { return log_; }
    // Hands over the log so far and starts a new one.
    std::vector<LogEntry> TakeLog();
    const std::vector<CalibrationRecord>& Calibrations() const { return calibrations_; }
    int RelayTest(int relay) const { return relays_[relay & 1]; }

    const InstrumentConfig& Config() const { return config_; }
    const RegisterMap& Map() const { return map_; }

  private:
    struct Link {
        int station = 1;
        serial::LineSettings settings;
    };
    struct ArmedFault {
        Fault fault;
        int seen = 0;
        int struck = 0;
    };
    struct Write {
        const RegisterDef* def;
        std::int32_t value;
    };

    bool Hears(const serial::LineSettings& master) const;
    void Settle(double now);
    Link LinkFromRam() const;
    std::optional<Fault> Strike();
    Measurement MeasureAt(double now) const;
    std::int32_t Value(const RegisterDef& def, double now) const;
    int Check(const RegisterDef& def, std::int32_t value, int code) const;
    void Apply(const RegisterDef& def, std::int32_t value, int code, double now);
    int Execute(const Bytes& frame, double now, Bytes* answer);
    int Read(const Bytes& frame, double now, Bytes* answer) const;
    int WriteOne(const Bytes& frame, double now, Bytes* answer);
    int WriteMany(const Bytes& frame, double now, Bytes* answer);
    int Commit(std::vector<Write> writes, int code, double now);

    InstrumentConfig config_;
    RegisterMap map_;
    KeyAddresses keys_;
    std::map<int, std::int32_t> ram_;
    std::map<int, std::int32_t> eeprom_;
    Link active_;
    bool linkChanged_ = false;  // set by a write, turned into a pending change by Handle
    bool pending_ = false;
    double pendingAt_ = 0.0;
    int relays_[2] = {0, 0};
    std::int32_t remote_ = 0;
    bool remoteSet_ = false;  // a remote value was written since power-on
    std::int32_t lastCalibration_ = 0;
    bool openSensor_ = false;
    bool present_ = true;
    double powerOn_ = 0.0;
    std::vector<ArmedFault> faults_;
    std::vector<LogEntry> log_;
    std::vector<CalibrationRecord> calibrations_;
};

}  // namespace sim
