#pragma once
// Fields of the selector word gsRAM01: which member of a multi-control module the next call
// addresses, and the decimal point the shown values were rendered with (the Dpp field, whose
// place and width the model gives). A field is changed by
// read-modify-write so the other bits survive.

#include <cstdint>

namespace conf {

struct SelectorField {
    int shift;
    int width;
};

// The fields, by the module that reads them.
inline constexpr SelectorField kSelMRngRat{6, 1};
inline constexpr SelectorField kSelMRngUsr{7, 1};
inline constexpr SelectorField kSelPVOFRat{8, 1};
inline constexpr SelectorField kSelLinSig{9, 3};
inline constexpr SelectorField kSelLinScale{12, 1};
inline constexpr SelectorField kSelRTS{13, 1};
inline constexpr SelectorField kSelAlarm{14, 1};
inline constexpr SelectorField kSelSN{15, 2};
inline constexpr SelectorField kSelADCM{17, 1};
inline constexpr SelectorField kSelICStep{18, 4};

constexpr std::uint32_t FieldMask(SelectorField f) {
    return ((std::uint32_t{1} << f.width) - 1u) << f.shift;
}

constexpr int GetField(std::uint32_t word, SelectorField f) {
    return static_cast<int>((word & FieldMask(f)) >> f.shift);
}

// Values wider than the field are cut to its width.
constexpr void SetField(std::uint32_t& word, SelectorField f, int value) {
    word = (word & ~FieldMask(f)) | ((static_cast<std::uint32_t>(value) << f.shift) & FieldMask(f));
}

}  // namespace conf
