#include "models/validate.h"

#include <algorithm>
#include <cstdio>
#include <span>
#include <vector>

#include "core/selector.h"
#include "models/family.h"

namespace conf {

namespace {

std::string Hex(int address) {
    if (address < 0) return std::to_string(address);
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(address));
    return text;
}

std::string Named(const RegisterRecord& r) {
    return Hex(r.address) + " " + (r.name ? r.name : "(unnamed)");
}

std::string Text(const char* s) {
    return s ? s : "(none)";
}

// The controls each module shows its registers in. A membered module has one control per
// member register, picked by its selector field; the others show their registers their own way.
struct ModuleControls {
    Module module;
    CtrlNames ParamCatalogue::*controls;  // nullptr: the register has no control of its own
    bool membered;
};

constexpr ModuleControls kModuleControls[] = {
    {Module::kType, &ParamCatalogue::caCC_TYPE, false},
    {Module::kUnit, &ParamCatalogue::ccUNIT, false},
    {Module::kDp, &ParamCatalogue::ccDP, false},
    {Module::kMRngUsr, &ParamCatalogue::caCC_MRng_usr, true},
    {Module::kPvofUsr, &ParamCatalogue::ccPVOF, false},
    {Module::kLinScale, &ParamCatalogue::caCC_LinScale, true},
    {Module::kFilt, &ParamCatalogue::ccFILT, false},
    {Module::kDir, &ParamCatalogue::caCC_DIR, false},
    {Module::kCut, &ParamCatalogue::ccCUT, false},
    {Module::kRtsV, &ParamCatalogue::caCC_RTS_V, true},
    {Module::kId, &ParamCatalogue::ccID, false},
    {Module::kBr, &ParamCatalogue::ccBR, false},
    {Module::kAxFU, &ParamCatalogue::caCC_AxFU, true},
    {Module::kAxMD, &ParamCatalogue::caCC_AxMD, true},
    {Module::kAxSP, &ParamCatalogue::caCC_AxSP, true},
    {Module::kAxHY, &ParamCatalogue::caCC_AxHY, true},
    {Module::kLinSig, &ParamCatalogue::caCC_LinSig, true},
    {Module::kRtu, &ParamCatalogue::ccRTU, false},
    {Module::kLock, &ParamCatalogue::ccLOCK, false},
    {Module::kRs485, nullptr, false},
    {Module::kPolarity, &ParamCatalogue::ccPOLAR, false},
    {Module::kCalCommand, nullptr, false},
    {Module::kRelay, &ParamCatalogue::caCC_ARelay, true},
    {Module::kLinkCopy, nullptr, false},
    {Module::kProcessValue, &ParamCatalogue::ccMSPV_V, false},
    {Module::kConverter, &ParamCatalogue::caCC_ADC_V_M, true},
    {Module::kStatus, nullptr, false},
    {Module::kDevInfo, nullptr, false},
    {Module::kSerial, &ParamCatalogue::caCC_SN_V_I, false},
    {Module::kDigit, &ParamCatalogue::ccDIGIT, false},
    {Module::kAlarmAmount, &ParamCatalogue::ccALARM_AMOUNT, false},
};

const ModuleControls* ControlsOf(Module module) {
    for (const ModuleControls& m : kModuleControls)
        if (m.module == module) return &m;
    return nullptr;
}

// Every control table the shared procedures use whatever the model; the unit and polarity
// controls follow the register map instead.
struct NamedTable {
    const char* name;
    CtrlNames ParamCatalogue::*table;
};
constexpr NamedTable kRequiredTables[] = {
    {"ccID", &ParamCatalogue::ccID},
    {"ccBR", &ParamCatalogue::ccBR},
    {"ccRTU", &ParamCatalogue::ccRTU},
    {"ccDP", &ParamCatalogue::ccDP},
    {"ccFILT", &ParamCatalogue::ccFILT},
    {"ccCUT", &ParamCatalogue::ccCUT},
    {"ccLOCK", &ParamCatalogue::ccLOCK},
    {"ccPVOF", &ParamCatalogue::ccPVOF},
    {"ccDIGIT", &ParamCatalogue::ccDIGIT},
    {"ccALARM_AMOUNT", &ParamCatalogue::ccALARM_AMOUNT},
    {"ccRSP", &ParamCatalogue::ccRSP},
    {"ccAGENT_WRITE", &ParamCatalogue::ccAGENT_WRITE},
    {"ccGICNT", &ParamCatalogue::ccGICNT},
    {"ccMSPV_V", &ParamCatalogue::ccMSPV_V},
    {"ccSN_READ", &ParamCatalogue::ccSN_READ},
    {"caCC_TYPE", &ParamCatalogue::caCC_TYPE},
    {"caCC_DRng", &ParamCatalogue::caCC_DRng},
    {"caCC_MRng_rat", &ParamCatalogue::caCC_MRng_rat},
    {"caCC_MRng_usr", &ParamCatalogue::caCC_MRng_usr},
    {"caCC_PVOF_rat", &ParamCatalogue::caCC_PVOF_rat},
    {"caCC_LinSig", &ParamCatalogue::caCC_LinSig},
    {"caCC_LinScale", &ParamCatalogue::caCC_LinScale},
    {"caCC_DIR", &ParamCatalogue::caCC_DIR},
    {"caCC_RTS_R", &ParamCatalogue::caCC_RTS_R},
    {"caCC_RTS_V", &ParamCatalogue::caCC_RTS_V},
    {"caCC_AxFU", &ParamCatalogue::caCC_AxFU},
    {"caCC_AxMD", &ParamCatalogue::caCC_AxMD},
    {"caCC_AxSP", &ParamCatalogue::caCC_AxSP},
    {"caCC_AxHY", &ParamCatalogue::caCC_AxHY},
    {"caCC_RTS_R_cal", &ParamCatalogue::caCC_RTS_R_cal},
    {"caCC_RTS_V_cal", &ParamCatalogue::caCC_RTS_V_cal},
    {"caCC_ADC_V_M", &ParamCatalogue::caCC_ADC_V_M},
    {"caCC_IC_B", &ParamCatalogue::caCC_IC_B},
    {"caCC_ARelay", &ParamCatalogue::caCC_ARelay},
    {"caCC_SN_V_I", &ParamCatalogue::caCC_SN_V_I},
    {"caCC_ICSP", &ParamCatalogue::caCC_ICSP},
};

// Tables whose entries a selector field picks: no more entries than the field can count.
struct FieldTable {
    const char* name;
    CtrlNames ParamCatalogue::*table;
    SelectorField field;
};
constexpr FieldTable kFieldTables[] = {
    {"caCC_MRng_rat", &ParamCatalogue::caCC_MRng_rat, kSelMRngRat},
    {"caCC_MRng_usr", &ParamCatalogue::caCC_MRng_usr, kSelMRngUsr},
    {"caCC_PVOF_rat", &ParamCatalogue::caCC_PVOF_rat, kSelPVOFRat},
    {"caCC_LinSig", &ParamCatalogue::caCC_LinSig, kSelLinSig},
    {"caCC_LinScale", &ParamCatalogue::caCC_LinScale, kSelLinScale},
    {"caCC_RTS_V", &ParamCatalogue::caCC_RTS_V, kSelRTS},
    {"caCC_RTS_V_cal", &ParamCatalogue::caCC_RTS_V_cal, kSelRTS},
    {"caCC_AxFU", &ParamCatalogue::caCC_AxFU, kSelAlarm},
    {"caCC_AxMD", &ParamCatalogue::caCC_AxMD, kSelAlarm},
    {"caCC_AxSP", &ParamCatalogue::caCC_AxSP, kSelAlarm},
    {"caCC_AxHY", &ParamCatalogue::caCC_AxHY, kSelAlarm},
    {"caCC_ARelay", &ParamCatalogue::caCC_ARelay, kSelAlarm},
    {"caCC_SN_V_I", &ParamCatalogue::caCC_SN_V_I, kSelSN},
    {"caCC_ADC_V_M", &ParamCatalogue::caCC_ADC_V_M, kSelADCM},
    {"caCC_IC_B", &ParamCatalogue::caCC_IC_B, kSelICStep},
    {"caCC_ICSP", &ParamCatalogue::caCC_ICSP, kSelICStep},
};

// The member fields of the selector word, which the decimal-point field must leave alone.
constexpr SelectorField kMemberFields[] = {kSelMRngRat,  kSelMRngUsr, kSelPVOFRat, kSelLinSig,
                                           kSelLinScale, kSelRTS,     kSelAlarm,   kSelSN,
                                           kSelADCM,     kSelICStep};

std::size_t Count(int n) {
    return static_cast<std::size_t>(n);
}

// The checks, in order; the first failure is the one reported.
class Checker {
  public:
    explicit Checker(const Model& model) : m_(model), c_(model.catalogue) {}

    bool Fail(const std::string& what) {
        why_ = what;
        return false;
    }
    const std::string& Why() const { return why_; }

    bool Identity() {
        if (!m_.id.programName || !m_.id.panelResource || !m_.id.panelName)
            return Fail("the program name, panel resource and panel name must all be given");
        if (m_.id.codes.empty()) return Fail("the model accepts no model code");
        return true;
    }

    bool Registers() {
        for (std::size_t i = 0; i < m_.registers.size(); ++i) {
            const RegisterRecord& r = m_.registers[i];
            if (r.width != 16 && r.width != 32)
                return Fail("register " + Named(r) + " is " + std::to_string(r.width) +
                            " bits wide, not 16 or 32");
            if (!OwnedByAModuleThatExists(r)) return false;
            // The 32-bit values are one per address, so two records never share one.
            for (std::size_t j = 0; j < i; ++j) {
                const RegisterRecord& o = m_.registers[j];
                if (o.address == r.address)
                    return Fail("registers " + Named(o) + " and " + Text(r.name) +
                                " overlap at one address");
                if (o.module == r.module && o.member == r.member)
                    return Fail("registers " + Named(o) + " and " + Named(r) + " are both member " +
                                std::to_string(r.member) + " of " + ModuleName(r.module));
            }
        }
        // A module that picks its member's control by a field has one control per register.
        for (const ModuleControls& mc : kModuleControls) {
            if (!mc.membered) continue;
            const std::size_t registers = static_cast<std::size_t>(
                std::count_if(m_.registers.begin(), m_.registers.end(),
                              [&](const RegisterRecord& r) { return r.module == mc.module; }));
            const std::size_t controls = (c_.*mc.controls).size();
            if (registers != 0 && registers != controls)
                return Fail(std::string(ModuleName(mc.module)) + " has " +
                            std::to_string(controls) + " controls but " +
                            std::to_string(registers) + " registers");
        }
        return true;
    }

    bool ReadPlan() {
        const conf::ReadPlan& p = m_.read;
        if (p.blockLengthFw1 <= 0 || p.blockLength < p.blockLengthFw1)
            return Fail("the 16-bit block is " + std::to_string(p.blockLengthFw1) + " then " +
                        std::to_string(p.blockLength) + " registers long");
        if (!No32In("the 16-bit block", p.block16Address, p.blockLength)) return false;
        for (int address : p.applyOrder) {
            if (address < p.block16Address || address >= p.block16Address + p.blockLength)
                return Fail("the read applies register " + Hex(address) +
                            ", which the 16-bit block does not hold");
            if (!Parameter("the 16-bit block", address, 16)) return false;
        }
        if (p.block32Count < 0) return Fail("the 32-bit block has a negative count");
        for (int i = 0; i < p.block32Count; ++i)
            if (!Parameter("the 32-bit block", p.block32Address + i, 32)) return false;
        if (p.addrPolarity >= 0 && !At("the polarity read", p.addrPolarity, 16, Module::kPolarity))
            return false;
        if (!At("the RS-485 switch", m_.id.addrRS485, 16, Module::kRs485)) return false;

        // The display digits and the alarm amount are read as one pair.
        const RegisterRecord* digit = RegisterOf(m_, Module::kDigit);
        if (!digit) return Fail("the register map has no display-digit register");
        if (!At("the display setup read", digit->address, 16, Module::kDigit) ||
            !At("the display setup read", digit->address + 1, 16, Module::kAlarmAmount))
            return false;

        // The device check reads four words: model code and firmware, a spare word, the
        // serial number's halves.
        const int info = AddressOf(m_, Module::kDevInfo);
        if (info != family::kDevInfoRegister)
            return Fail("the device-information register is " + Hex(info) + ", not " +
                        Hex(family::kDevInfoRegister) + " where the scanner reads the model code");
        if (!At("the device-information read", info, 16, Module::kDevInfo) ||
            !At("the device-information read", info + 1, 16, Module::kNone) ||
            !At("the serial number's high word", info + 2, 16, Module::kSerial) ||
            !At("the serial number's low word", info + 3, 16, Module::kSerial))
            return false;
        if (AddressOf(m_, Module::kSerial, 0) != info + 2)
            return Fail("the serial number's high word is not at " + Hex(info + 2));
        return true;
    }

    bool WritePlan() {
        const conf::WritePlan& p = m_.write;
        if (!At("the station write", p.addrID, 16, Module::kId) ||
            !At("the baud-rate write", p.addrBR, 16, Module::kBr) ||
            !At("the frame-format write", p.addrRTU, 16, Module::kRtu))
            return false;
        if (p.buffers.empty()) return Fail("the write plan has no buffer file");
        for (const BufferFile& b : p.buffers) {
            const std::string file = "buffer file " + Text(b.fileName);
            if (!b.fileName || !b.logLine) return Fail(file + " lacks its name or log line");
            if (b.width != 16 && b.width != 32)
                return Fail(file + " is " + std::to_string(b.width) + " bits wide");
            if (b.lines.empty()) return Fail(file + " has no line");
            for (const BufferLine& line : b.lines) {
                if (!line.name) return Fail(file + " has a line without a name");
                if (!Parameter(file + " line " + line.name, line.address, b.width)) return false;
            }
        }
        for (const RangeCheckEntry& e : p.rangeCheck) {
            const ModuleControls* mc = ControlsOf(e.module);
            if (!IsParameterModule(e.module) || !mc)
                return Fail("the range check names " + std::string(ModuleName(e.module)) +
                            ", which is no parameter module");
            const std::size_t controls = (c_.*mc->controls).size();
            const std::size_t expected = mc->membered ? controls : 1;
            if (controls == 0 || Count(e.members) != expected)
                return Fail("the range check takes " + std::to_string(e.members) + " members of " +
                            ModuleName(e.module) + ", which has " + std::to_string(controls) +
                            " controls");
        }
        return true;
    }

    bool FilePlan() {
        const conf::FilePlan& p = m_.file;
        if (p.headerAddress != AddressOf(m_, Module::kDevInfo))
            return Fail("the parameter file's header line is " + Hex(p.headerAddress) +
                        ", not the device-information register");
        for (std::size_t i = 0; i < p.addresses.size(); ++i) {
            const RegisterRecord* r = FindRegister(m_, p.addresses[i]);
            if (!Parameter("the parameter file", p.addresses[i], r ? r->width : 16)) return false;
            for (std::size_t j = 0; j < i; ++j)
                if (p.addresses[j] == p.addresses[i])
                    return Fail("the parameter file holds " + Named(*r) + " twice");
        }
        const std::size_t lines = p.addresses.size() + (p.maxLinesCountHeader ? 1 : 0);
        if (lines > Count(p.maxLines))
            return Fail("the parameter file holds " + std::to_string(lines) +
                        " lines, but a load reads " + std::to_string(p.maxLines));
        return true;
    }

    bool LinkAndMeasuring() {
        const RecoveryBlock& rb = m_.recovery;
        if (rb.count <= 0) return Fail("the recovery block is empty");
        for (int word : {rb.idWord, rb.brWord, rb.rtuWord})
            if (word < 0 || word >= rb.count)
                return Fail("the recovery block's word " + std::to_string(word) +
                            " lies outside its " + std::to_string(rb.count) + " registers");
        if (!No32In("the recovery block", rb.address, rb.count) ||
            !At("the recovery block's station", rb.address + rb.idWord, 16, Module::kLinkCopy) ||
            !At("the recovery block's baud rate", rb.address + rb.brWord, 16, Module::kLinkCopy) ||
            !At("the recovery block's frame format", rb.address + rb.rtuWord, 16,
                Module::kLinkCopy))
            return false;

        if (!At("the remote value", m_.remote.address, m_.remote.width, Module::kProcessValue))
            return false;
        const PvPoll& p = m_.poll;
        if (!At("the decimal-point read", p.addrDP, 16, Module::kDp) ||
            !At("the process-value read", p.addrPV, p.pvWidth, Module::kProcessValue) ||
            !At("the status read", p.addrStatus, 16, Module::kStatus))
            return false;
        if (!Converter("the converter read", p.addrADC, p.adcWidth, p.adcCount)) return false;
        if (c_.caCC_ADC_V_M.size() != Count(p.adcCount))
            return Fail("the converter read takes " + std::to_string(p.adcCount) +
                        " readings, but caCC_ADC_V_M has " +
                        std::to_string(c_.caCC_ADC_V_M.size()) + " controls");

        const InputCalibration& cal = m_.calibration;
        if (!At("the calibration command", cal.addrCommand, 16, Module::kCalCommand)) return false;
        if (!Converter("the calibration readings", cal.addrReadings, cal.readingsWidth,
                       cal.readingsWidth == 16 ? 2 : 1))
            return false;
        if (cal.steps.empty()) return Fail("the input calibration has no step");
        for (const CalStep& s : cal.steps) {
            if (!s.name) return Fail("an input-calibration step has no name");
            const std::string step = std::string("calibration step ") + s.name;
            if (s.presetType >= 0 &&
                (!RegisterOf(m_, Module::kType) || Count(s.presetType) >= c_.caCC_TYPE.size()))
                return Fail(step + " presets input type " + std::to_string(s.presetType) +
                            ", which the model does not have");
            if (s.presetUnit >= 0 && !RegisterOf(m_, Module::kUnit))
                return Fail(step + " presets a unit, but the model has no unit register");
        }
        const std::size_t steps = cal.steps.size();
        if (c_.caCC_IC_B.size() != steps || c_.caCC_ICSP.size() != steps ||
            c_.caCC_ADC_V_I.size() != steps)
            return Fail("the input calibration has " + std::to_string(steps) +
                        " steps, but caCC_IC_B, caCC_ICSP and caCC_ADC_V_I have " +
                        std::to_string(c_.caCC_IC_B.size()) + ", " +
                        std::to_string(c_.caCC_ICSP.size()) + " and " +
                        std::to_string(c_.caCC_ADC_V_I.size()));
        return true;
    }

    bool Catalogue() {
        for (const NamedTable& t : kRequiredTables) {
            const CtrlNames names = c_.*t.table;
            if (names.empty())
                return Fail(std::string("the control table ") + t.name + " is empty");
            for (const char* name : names)
                if (!name) return Fail(std::string("the control table ") + t.name + " has a gap");
        }
        for (const CtrlPair& pair : c_.caCC_ADC_V_I)
            if (!pair.first) return Fail("the control table caCC_ADC_V_I has a gap");
        for (const FieldTable& t : kFieldTables)
            if ((c_.*t.table).size() > (std::size_t{1} << t.field.width))
                return Fail(std::string("the control table ") + t.name + " has " +
                            std::to_string((c_.*t.table).size()) +
                            " entries, more than its selector field counts");
        if (!c_.ccUNIT.empty() && !RegisterOf(m_, Module::kUnit))
            return Fail("the unit control has no register");
        if (RegisterOf(m_, Module::kUnit) && c_.tempUnits <= 0)
            return Fail("the model has a unit register but no temperature unit");
        if (!c_.ccPOLAR.empty() && m_.read.addrPolarity < 0)
            return Fail("the polarity control has no register");

        // Input types.
        const int types = static_cast<int>(c_.caCC_TYPE.size());
        if (!c_.ratedIsDisplayRange && c_.aMRng.size() != c_.caCC_TYPE.size())
            return Fail("aMRng has " + std::to_string(c_.aMRng.size()) + " rated ranges for " +
                        std::to_string(types) + " input types");
        if (c_.tempTypes < 0 || c_.tempTypes > c_.firstLinearType ||
            c_.firstLinearType > c_.lastLinearType || c_.lastLinearType >= types)
            return Fail("the input types are laid out out of order: temperature types below " +
                        std::to_string(c_.tempTypes) + ", linear " +
                        std::to_string(c_.firstLinearType) + " to " +
                        std::to_string(c_.lastLinearType) + ", of " + std::to_string(types));
        if (c_.remoteType < -1 || c_.remoteType >= types)
            return Fail("the remote input type " + std::to_string(c_.remoteType) +
                        " is not an input type of the model");

        // Tables by display-digit setting.
        const std::size_t digits = c_.displayRange.size();
        if (digits == 0) return Fail("the display range table is empty");
        if (c_.dpMaxByDigit.size() != digits || c_.dpCaptions.size() != digits ||
            c_.digitSamples.size() != digits || c_.linSigDecimalsByDigit.size() != digits)
            return Fail("the tables by display-digit setting differ in length from the " +
                        std::to_string(digits) + " display ranges");
        int widestDp = c_.dpMaxTemp;
        for (std::size_t d = 0; d < digits; ++d) {
            widestDp = std::max(widestDp, c_.dpMaxByDigit[d]);
            const std::size_t captions = c_.dpCaptions[d].size();
            if (Count(std::max(c_.dpMaxByDigit[d], c_.dpMaxTemp)) >= captions)
                return Fail("the decimal-point ring of digit setting " + std::to_string(d) +
                            " has " + std::to_string(captions) + " captions, too few");
        }
        const SelectorField dpp = m_.dpp;
        if (dpp.width < 1 || dpp.shift < 0 || dpp.shift + dpp.width > 32 ||
            widestDp > (1 << dpp.width) - 1)
            return Fail("the decimal-point field cannot hold decimal point " +
                        std::to_string(widestDp));
        for (const SelectorField f : kMemberFields)
            if ((FieldMask(dpp) & FieldMask(f)) != 0)
                return Fail("the decimal-point field overlaps a member field");

        if (c_.linSigBase.size() != c_.caCC_LinSig.size())
            return Fail("linSigBase has " + std::to_string(c_.linSigBase.size()) + " ranges for " +
                        std::to_string(c_.caCC_LinSig.size()) + " rows");
        if (c_.rngSN.size() != c_.caCC_SN_V_I.size())
            return Fail("rngSN has " + std::to_string(c_.rngSN.size()) + " ranges for " +
                        std::to_string(c_.caCC_SN_V_I.size()) + " serial-number fields");
        if (c_.alarms < 1 || Count(c_.alarms) > c_.caCC_AxSP.size())
            return Fail("the model counts " + std::to_string(c_.alarms) + " alarms but has " +
                        std::to_string(c_.caCC_AxSP.size()) + " alarm set points");
        if (c_.linSigConfine <= 0) return Fail("the linear-signal confinement is not set");
        if (c_.captions.empty()) return Fail("the caption tables are empty");
        return true;
    }

    bool RangesOrdered() {
        struct Table {
            const char* name;
            std::span<const RawRange> ranges;
        };
        const Table tables[] = {
            {"aMRng", c_.aMRng},
            {"displayRange", c_.displayRange},
            {"linSigBase", c_.linSigBase},
            {"rngSN", c_.rngSN},
            {"rngID", std::span<const RawRange>(&c_.rngID, 1)},
            {"rngFILT", std::span<const RawRange>(&c_.rngFILT, 1)},
            {"rngBR", std::span<const RawRange>(&c_.rngBR, 1)},
            {"rngRTU", std::span<const RawRange>(&c_.rngRTU, 1)},
            {"rngRTS", std::span<const RawRange>(&c_.rngRTS, 1)},
        };
        for (const Table& t : tables)
            for (std::size_t i = 0; i < t.ranges.size(); ++i)
                if (t.ranges[i].low > t.ranges[i].high)
                    return Fail(std::string("the range ") + t.name + "[" + std::to_string(i) +
                                "] runs from " + std::to_string(t.ranges[i].low) + " down to " +
                                std::to_string(t.ranges[i].high));
        return true;
    }

    bool CallbackTable() {
        if (m_.callbacks.empty()) return Fail("the callback table is empty");
        for (const CallbackName& c : m_.callbacks)
            if (!c.resource || !*c.resource || !c.shared || !*c.shared)
                return Fail("a callback of the table lacks its resource or program name");
        return true;
    }

  private:
    bool OwnedByAModuleThatExists(const RegisterRecord& r) {
        const ModuleControls* mc = ControlsOf(r.module);
        if (!mc) return Fail("register " + Named(r) + " is owned by no module the program knows");
        if (r.member < 0)
            return Fail("register " + Named(r) + " has member " + std::to_string(r.member));
        if (!mc->controls) return true;
        const std::size_t controls = (c_.*mc->controls).size();
        if (controls == 0)
            return Fail("register " + Named(r) + " is owned by " + ModuleName(r.module) +
                        ", which the model has no controls for");
        if (mc->membered && Count(r.member) >= controls)
            return Fail("register " + Named(r) + " is member " + std::to_string(r.member) + " of " +
                        ModuleName(r.module) + ", which has " + std::to_string(controls) +
                        " controls");
        return true;
    }

    // The register `what` names: in the map, `width` bits wide, of `owner` (kNone: any).
    bool At(const std::string& what, int address, int width, Module owner) {
        const RegisterRecord* r = FindRegister(m_, address);
        if (!r)
            return Fail(what + " names register " + Hex(address) +
                        ", which the register map does not have");
        if (r->width != width)
            return Fail(what + " takes register " + Named(*r) + " as " + std::to_string(width) +
                        " bits; the map has it as " + std::to_string(r->width));
        if (owner != Module::kNone && r->module != owner)
            return Fail(what + " names register " + Named(*r) + " of " + ModuleName(r->module) +
                        ", not of " + ModuleName(owner));
        return true;
    }

    // A line of a read, write or file plan: a parameter register of the map.
    bool Parameter(const std::string& what, int address, int width) {
        if (!At(what, address, width, Module::kNone)) return false;
        const RegisterRecord* r = FindRegister(m_, address);
        if (!IsParameterModule(r->module))
            return Fail(what + " names register " + Named(*r) + " of " + ModuleName(r->module) +
                        ", which is no parameter");
        return true;
    }

    // A 16-bit read of `count` registers must not take in half of a 32-bit value.
    bool No32In(const std::string& what, int address, int count) {
        for (const RegisterRecord& r : m_.registers)
            if (r.width == 32 && r.address >= address && r.address < address + count)
                return Fail(what + " (" + Hex(address) + ", " + std::to_string(count) +
                            " registers) takes in half of 32-bit register " + Named(r));
        return true;
    }

    // The converter readings: 16-bit registers in a row, or one 32-bit value.
    bool Converter(const std::string& what, int address, int width, int count) {
        if (width == 32 && count != 1)
            return Fail(what + " takes " + std::to_string(count) + " 32-bit values; it takes one");
        if (width != 16 && width != 32)
            return Fail(what + " is " + std::to_string(width) + " bits wide");
        for (int i = 0; i < count; ++i)
            if (!At(what, address + i, width, Module::kConverter)) return false;
        return true;
    }

    const Model& m_;
    const ParamCatalogue& c_;
    std::string why_;
};

std::string Prefix(const Model& model) {
    return std::string("model ") + (model.id.programName ? model.id.programName : "(unnamed)") +
           ": ";
}

int Broken(const Model& model, const std::string& why, std::string* message) {
    if (message) *message = Prefix(model) + why;
    return -1;
}

}  // namespace

int Validate(const Model& model, std::string* message) {
    Checker c(model);
    const bool ok = c.Identity() && c.Registers() && c.ReadPlan() && c.WritePlan() &&
                    c.FilePlan() && c.LinkAndMeasuring() && c.Catalogue() && c.RangesOrdered() &&
                    c.CallbackTable();
    return ok ? 0 : Broken(model, c.Why(), message);
}

int ValidateCallbacks(const Model& model, const std::set<std::string>& functions,
                      std::string* message) {
    for (const CallbackName& c : model.callbacks)
        if (!c.shared || functions.count(c.shared) == 0)
            return Broken(model,
                          "callback " + Text(c.resource) + " names the program function " +
                              Text(c.shared) + ", which the program does not have",
                          message);
    return 0;
}

int ValidateFocusOrders(const Model& model, const HasControl& has, std::string* message) {
    struct Order {
        const char* what;
        FocusPanel panel;
        const std::vector<std::string>& names;
    };
    const FocusOrders& f = model.focus;
    const Order orders[] = {
        {"the configuration page's focus order", FocusPanel::kConfig, f.cfg},
        {"the main panel's focus order", FocusPanel::kMain, f.main},
        {"the calibration page's focus order", FocusPanel::kCalib, f.cal},
    };
    for (const Order& o : orders) {
        if (o.names.empty()) return Broken(model, std::string(o.what) + " is empty", message);
        for (const std::string& name : o.names)
            if (!has(o.panel, name))
                return Broken(
                    model,
                    std::string(o.what) + " names " + name + ", which the panel does not have",
                    message);
    }
    struct Wrap {
        const char* what;
        FocusPanel panel;
        const std::string& name;
    };
    const Wrap wraps[] = {
        {"the main panel's wrap to the configuration page", FocusPanel::kConfig, f.mainWrapCfg},
        {"the main panel's wrap to the calibration page", FocusPanel::kCalib, f.mainWrapCal},
        {"the pages' wrap to the main panel", FocusPanel::kMain, f.pageWrap},
    };
    for (const Wrap& w : wraps)
        if (!has(w.panel, w.name))
            return Broken(
                model, std::string(w.what) + " names " + w.name + ", which the panel does not have",
                message);
    return 0;
}

}  // namespace conf
