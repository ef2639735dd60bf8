#include "sim/instrument.h"

#include <algorithm>
#include <cstdio>

namespace sim {

namespace {

constexpr int kDigitsBase = 0x4600;
constexpr int kAlarmsBase = 0x4700;

bool Stored(Role role) {
    switch (role) {
        case Role::kParameter:
        case Role::kStation:
        case Role::kBaud:
        case Role::kFormat:
        case Role::kDisplayDigits:
        case Role::kAlarmAmount:
            return true;
        default:
            return false;
    }
}

bool IsLink(Role role) {
    return role == Role::kStation || role == Role::kBaud || role == Role::kFormat;
}

int Word(const Bytes& f, std::size_t at) {
    return f[at] << 8 | f[at + 1];
}

void PutWord(Bytes* b, std::uint32_t v) {
    b->push_back(static_cast<std::uint8_t>(v >> 8 & 0xFF));
    b->push_back(static_cast<std::uint8_t>(v & 0xFF));
}

// Calibration commands a model takes: input steps, output ends 27 and 28, 0 to end.
bool CalibrationCommand(Model model, std::int32_t v) {
    if (v == 0 || v == 27 || v == 28) return true;
    return model == Model::kA ? (v >= 1 && v <= 9) : (v >= 4 && v <= 15);
}

InstrumentConfig Sanitised(const InstrumentConfig& in) {
    InstrumentConfig c = in;
    const InstrumentConfig d = DefaultConfig(in.model);
    if (c.code < 0 || c.code > 255) c.code = d.code;
    if (c.firmware < 1 || c.firmware > 9) c.firmware = d.firmware;
    if (c.station < 1 || c.station > 255) c.station = d.station;
    if (c.baudIndex < 0 || c.baudIndex > 3) c.baudIndex = d.baudIndex;
    if (c.formatIndex < 0 || c.formatIndex > 3) c.formatIndex = d.formatIndex;
    if (!(c.turnaround >= 0.0 && c.turnaround <= 10.0)) c.turnaround = d.turnaround;
    return c;
}

}  // namespace

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::kAnswered:
            return "answered";
        case Outcome::kException:
            return "exception";
        case Outcome::kBroadcast:
            return "broadcast";
        case Outcome::kOtherStation:
            return "other station";
        case Outcome::kWrongSettings:
            return "wrong line settings";
        case Outcome::kBadFrame:
            return "bad frame";
        case Outcome::kFaulted:
            return "fault";
        case Outcome::kAbsent:
            return "absent";
    }
    return "?";
}

std::string FormatLogEntry(const LogEntry& e) {
    char time[32];
    std::snprintf(time, sizeof time, "%.6f", e.start);
    std::string s = std::string(time) + " " + SettingsText(e.settings, e.parityKnown) + " " +
                    Hex(e.request) + " -> " + OutcomeName(e.outcome);
    if (e.outcome == Outcome::kFaulted) s += std::string(" ") + FaultName(e.fault);
    if (e.exceptionCode != 0) s += " (exception " + std::to_string(e.exceptionCode) + ")";
    if (!e.answer.empty()) s += ": " + Hex(e.answer);
    return s;
}

Instrument::Instrument(const InstrumentConfig& config, double powerOn)
    : config_(Sanitised(config)),
      map_(BuildRegisterMap(config_)),
      keys_(KeysOf(config_.model)),
      openSensor_(config_.openSensor),
      powerOn_(powerOn) {
    for (const RegisterDef& d : map_.All())
        if (Stored(d.role)) ram_[d.address] = d.initial;
    // Firmware 1 has no frame-format register, but keeps its format all the same.
    ram_.emplace(keys_.format, config_.formatIndex);
    eeprom_ = ram_;
    active_ = LinkFromRam();
}

Instrument::Link Instrument::LinkFromRam() const {
    Link l;
    l.station = ram_.at(keys_.station);
    l.settings = LinkSettings(ram_.at(keys_.baud), ram_.at(keys_.format));
    return l;
}

void Instrument::Settle(double now) {
    if (pending_ && now >= pendingAt_) {
        active_ = LinkFromRam();
        pending_ = false;
    }
}

serial::LineSettings Instrument::Settings(double now) {
    Settle(now);
    return active_.settings;
}

int Instrument::Station(double now) {
    Settle(now);
    return active_.station;
}

bool Instrument::Hears(const serial::LineSettings& m) const {
    const serial::LineSettings& own = active_.settings;
    if (config_.lineCheck == LineCheck::kBaudAndStopBits)
        return m.baud == own.baud && m.stopBits == own.stopBits;
    return m == own;
}

void Instrument::PowerCycle(double now) {
    ram_ = eeprom_;
    relays_[0] = relays_[1] = 0;
    remote_ = 0;
    remoteSet_ = false;
    lastCalibration_ = 0;
    pending_ = false;
    linkChanged_ = false;
    active_ = LinkFromRam();
    powerOn_ = now;
}

int Instrument::RamValue(int address, std::int32_t* value) const {
    const RegisterDef* d = map_.Find(address);
    if (!d || !Stored(d->role)) return -1;
    *value = ram_.at(address);
    return 0;
}

int Instrument::StoredValue(int address, std::int32_t* value) const {
    const RegisterDef* d = map_.Find(address);
    if (!d || !Stored(d->role)) return -1;
    *value = eeprom_.at(address);
    return 0;
}

int Instrument::ReadValue(int address, double now, std::int32_t* value) const {
    const RegisterDef* d = map_.Find(address);
    if (!d || !d->readable) return kIllegalAddress;
    *value = Value(*d, now);
    return 0;
}

void Instrument::AddFault(const Fault& fault) {
    faults_.push_back(ArmedFault{fault, 0, 0});
}

std::vector<LogEntry> Instrument::TakeLog() {
    std::vector<LogEntry> out;
    out.swap(log_);
    return out;
}

std::optional<Fault> Instrument::Strike() {
    std::optional<Fault> hit;
    for (ArmedFault& a : faults_) {
        const bool due =
            a.seen >= a.fault.after && (a.fault.count == 0 || a.struck < a.fault.count);
        ++a.seen;
        if (due && !hit) {
            ++a.struck;
            hit = a.fault;
        }
    }
    return hit;
}

Measurement Instrument::MeasureAt(double now) const {
    InputSettings in;
    in.model = config_.model;
    in.openSensor = openSensor_;
    in.type = ram_.at(keys_.type);
    in.dp = ram_.at(keys_.dp);
    in.low = ram_.at(keys_.low);
    in.high = ram_.at(keys_.high);
    in.offset = ram_.at(keys_.offset);
    in.setPoint[0] = ram_.at(keys_.setPoint1);
    in.setPoint[1] = ram_.at(keys_.setPoint2);
    in.alarmAmount = ram_.at(keys_.alarmAmount);
    in.relayTest[0] = relays_[0] != 0;
    in.relayTest[1] = relays_[1] != 0;
    in.remote = remote_;
    in.remoteSet = remoteSet_;
    return Measure(in, now - powerOn_);
}

std::int32_t Instrument::Value(const RegisterDef& d, double now) const {
    switch (d.role) {
        case Role::kStoredStation:
            return eeprom_.at(keys_.station);
        case Role::kStoredBaud:
            return eeprom_.at(keys_.baud);
        case Role::kStoredFormat:
            return eeprom_.at(keys_.format);
        case Role::kProcessValue:
            return MeasureAt(now).processValue;
        case Role::kConverter:
            return MeasureAt(now).converter[d.index & 1];
        case Role::kStatusBits:
            return MeasureAt(now).statusBits;
        case Role::kDeviceCode:
            return config_.code << 8 | config_.firmware;
        case Role::kSpare:
        case Role::kForce:
            return 0;
        case Role::kCalibration:
            return lastCalibration_;
        case Role::kRelayTest:
            return relays_[d.index & 1];
        default:
            return ram_.at(d.address);
    }
}

int Instrument::Check(const RegisterDef& d, std::int32_t v, int code) const {
    if (!d.writable) return kIllegalAddress;
    bool ok = v >= d.min && v <= d.max;
    switch (d.role) {
        case Role::kDisplayDigits:
            ok = v >= kDigitsBase && v <= kDigitsBase + 1;
            break;
        case Role::kAlarmAmount:
            ok = v >= kAlarmsBase && v <= kAlarmsBase + 2;
            break;
        case Role::kCalibration:
            ok = CalibrationCommand(config_.model, v);
            break;
        case Role::kRelayTest:
            ok = v == 0 || v == 1;
            break;
        case Role::kForce:
            ok = v == kForceValue && code == 5;  // the forcing is a RAM write only
            break;
        default:
            break;
    }
    return ok ? 0 : kIllegalValue;
}

void Instrument::Apply(const RegisterDef& d, std::int32_t v, int code, double now) {
    switch (d.role) {
        case Role::kDisplayDigits:
            ram_[d.address] = v - kDigitsBase;
            break;
        case Role::kAlarmAmount:
            ram_[d.address] = v - kAlarmsBase;
            break;
        case Role::kProcessValue:
            remote_ = v;
            remoteSet_ = true;
            break;
        case Role::kCalibration: {
            const Measurement m = MeasureAt(now);
            lastCalibration_ = v;
            calibrations_.push_back(
                CalibrationRecord{now, code, v, {m.converter[0], m.converter[1]}});
            break;
        }
        case Role::kRelayTest:
            relays_[d.index & 1] = v;
            break;
        case Role::kForce:
            ram_[keys_.station] = 1;
            ram_[keys_.baud] = 3;
            ram_[keys_.format] = 1;
            linkChanged_ = true;
            break;
        default:
            ram_[d.address] = v;
            if (IsLink(d.role)) linkChanged_ = true;
            break;
    }
}

// Checks every write first, so a refused request changes nothing; codes 6, 16 and 9 then
// store the whole RAM bank in EEPROM.
int Instrument::Commit(std::vector<Write> writes, int code, double now) {
    for (const Write& w : writes)
        if (int e = Check(*w.def, w.value, code)) return e;
    for (const Write& w : writes)
        Apply(*w.def, w.value, code, now);
    if (code != 5) eeprom_ = ram_;
    return 0;
}

int Instrument::Read(const Bytes& f, double now, Bytes* answer) const {
    const int code = f[1];
    const int count = Word(f, 4);
    if (count < 1 || count > 125) return kIllegalValue;
    Bytes data;
    int address = Word(f, 2);
    for (int taken = 0; taken < count; ++address) {
        const RegisterDef* d = map_.Find(address);
        if (!d || !d->readable || (code == 4 && !d->readOnlyMemory)) return kIllegalAddress;
        const auto v = static_cast<std::uint32_t>(Value(*d, now));
        if (d->wide) {
            if (taken + 2 > count) return kIllegalAddress;  // half of a 32-bit value
            PutWord(&data, v >> 16);
            taken += 2;
        } else {
            taken += 1;
        }
        PutWord(&data, v);
    }
    *answer = {f[0], f[1], static_cast<std::uint8_t>(data.size())};
    answer->insert(answer->end(), data.begin(), data.end());
    return 0;
}

int Instrument::WriteOne(const Bytes& f, double now, Bytes* answer) {
    const RegisterDef* d = map_.Find(Word(f, 2));
    if (!d || !d->writable || d->wide) return kIllegalAddress;
    const auto value = static_cast<std::int16_t>(Word(f, 4));
    if (int e = Commit({Write{d, value}}, f[1], now)) return e;
    answer->assign(f.begin(), f.begin() + 6);  // the echo
    return 0;
}

int Instrument::WriteMany(const Bytes& f, double now, Bytes* answer) {
    const int count = Word(f, 4);
    if (count < 1 || count > 123 || f[6] != 2 * count) return kIllegalValue;
    std::vector<Write> writes;
    std::size_t at = 7;
    int address = Word(f, 2);
    for (int taken = 0; taken < count; ++address) {
        const RegisterDef* d = map_.Find(address);
        if (!d || !d->writable) return kIllegalAddress;
        if (d->wide) {
            if (taken + 2 > count) return kIllegalAddress;
            const auto v = static_cast<std::uint32_t>(Word(f, at)) << 16 |
                           static_cast<std::uint32_t>(Word(f, at + 2));
            writes.push_back(Write{d, static_cast<std::int32_t>(v)});
            at += 4;
            taken += 2;
        } else {
            writes.push_back(Write{d, static_cast<std::int16_t>(Word(f, at))});
            at += 2;
            taken += 1;
        }
    }
    if (int e = Commit(std::move(writes), f[1], now)) return e;
    answer->assign(f.begin(), f.begin() + 6);
    return 0;
}

int Instrument::Execute(const Bytes& f, double now, Bytes* answer) {
    const int code = f[1];
    const bool multi = code == 16 || code == 9;
    if (!(code >= 3 && code <= 6) && !(multi && config_.model == Model::kB))
        return kIllegalFunction;
    const Bytes body(f.begin(), f.end() - 2);
    if (static_cast<std::size_t>(RequestLength(body.data(), body.size())) != f.size())
        return kIllegalValue;
    switch (f[1]) {
        case 3:
        case 4:
            return Read(f, now, answer);
        case 5:
        case 6:
            return WriteOne(f, now, answer);
        default:
            return WriteMany(f, now, answer);
    }
}

Reply Instrument::Handle(const serial::LineSettings& master, const Bytes& frame, double end) {
    const double start = end - serial::WireTime(master, static_cast<int>(frame.size()));
    Settle(start);
    LogEntry e;
    e.start = start;
    e.end = end;
    e.settings = master;
    e.parityKnown = config_.lineCheck == LineCheck::kAllFields;
    e.request = frame;
    Reply reply;
    auto done = [&](Outcome outcome) {
        e.outcome = outcome;
        e.answer = reply.bytes;
        log_.push_back(e);
        return reply;
    };

    if (!present_) return done(Outcome::kAbsent);
    if (!Hears(master)) return done(Outcome::kWrongSettings);
    if (!CrcMatches(frame)) return done(Outcome::kBadFrame);
    const int station = frame[0];
    const bool broadcast = station == 0;
    if (!broadcast && station != active_.station) return done(Outcome::kOtherStation);

    // A plain value beside its flag: the optimiser cannot follow an optional through the switch.
    const std::optional<Fault> struck = broadcast ? std::nullopt : Strike();
    const bool faulted = struck.has_value();
    const Fault fault = struck.value_or(Fault{});
    if (faulted) e.fault = fault.kind;
    if (faulted && fault.kind == FaultKind::kVanish) {
        present_ = false;
        return done(Outcome::kFaulted);
    }

    Bytes answer;
    linkChanged_ = false;
    int exception = faulted && fault.kind == FaultKind::kException ? fault.exceptionCode
                                                                   : Execute(frame, end, &answer);
    e.exceptionCode = exception;
    if (broadcast) {
        if (linkChanged_) {
            pending_ = true;
            pendingAt_ = end;
        }
        return done(Outcome::kBroadcast);
    }
    if (exception != 0)
        answer = {frame[0], static_cast<std::uint8_t>(frame[1] | 0x80),
                  static_cast<std::uint8_t>(exception)};
    Seal(&answer);

    const double charTime = serial::WireTime(active_.settings, 1);
    reply.bytes = std::move(answer);
    reply.start = end + config_.turnaround;
    reply.charTime = config_.paced ? charTime : 0.0;
    if (faulted) {
        switch (fault.kind) {
            case FaultKind::kSilence:
                reply.bytes.clear();
                break;
            case FaultKind::kCut:
                reply.bytes.resize(std::min(reply.bytes.size(),
                                            static_cast<std::size_t>(std::max(fault.bytes, 0))));
                break;
            case FaultKind::kLate:
                reply.start += fault.delay;
                break;
            case FaultKind::kReset:
                reply.bytes.resize(reply.bytes.size() / 2);
                reply.fault = fault.kind;
                break;
            case FaultKind::kStall:
                reply.bytes.clear();
                reply.fault = fault.kind;
                break;
            case FaultKind::kEchoGarbled:
            case FaultKind::kEchoLost:
                reply.fault = fault.kind;
                break;
            case FaultKind::kBadCrc:
                reply.bytes[reply.bytes.size() - 2] ^= 0xFF;
                break;
            case FaultKind::kNoise: {
                static constexpr std::uint8_t kPattern[] = {0x00, 0xFF, 0x55, 0xAA, 0xF0};
                Bytes noise;
                const int count = fault.bytes;
                for (int i = 0; i < count; ++i)
                    noise.push_back(kPattern[i % 5]);
                reply.bytes.insert(reply.bytes.begin(), noise.begin(), noise.end());
                break;
            }
            default:
                break;
        }
    }
    if (linkChanged_) {
        pending_ = true;
        pendingAt_ = reply.start + reply.charTime * static_cast<double>(reply.bytes.size());
        if (reply.bytes.empty()) pendingAt_ = end;
    }
    return done(faulted ? Outcome::kFaulted : exception ? Outcome::kException : Outcome::kAnswered);
}

Bytes Instrument::Echo(const Bytes& sent, const Reply& r) const {
    if (!config_.echo || r.fault == FaultKind::kEchoLost) return {};
    Bytes echo = sent;
    // The station byte: a master that compares nothing would take the answer as its own.
    if (r.fault == FaultKind::kEchoGarbled && !echo.empty()) echo[0] ^= 0x40;
    return echo;
}

}  // namespace sim
