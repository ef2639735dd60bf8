#pragma once
// The status line: the text control ctx.msgCtrl on the main panel ctx.gvMain, where the
// programs report what an instrument operation is doing and how it ended.

#include <string>

#include "core/context.h"

namespace conf {

// Numbered status messages for msg_cfg::SID.
inline constexpr int kMsgReading = 41;
inline constexpr int kMsgReadOk = 42;
inline constexpr int kMsgReadNg = 43;
inline constexpr int kMsgWriting = 44;
inline constexpr int kMsgWriteOk = 45;
inline constexpr int kMsgWriteNg = 46;
inline constexpr int kMsgOutOfRange = 47;

// Status colours.
inline constexpr int kMsgBlue = 0x0000FF;
inline constexpr int kMsgGreen = 0x008000;
inline constexpr int kMsgRed = 0xFF0000;
namespace msg_cfg {

// Each returns 0, or the runtime's negative error when the line cannot be set.

// *panel = gvMain and *control = msgCtrl (either may be null).
int init(Context& ctx, int* panel, int* control);
// Shows text; the colour stays.
int SV(Context& ctx, const std::string& text);
// Shows number as "%d".
int SV_i32(Context& ctx, int number);
// Sets the text colour (RGB).
int Color(Context& ctx, int rgb);
// Shows text, then sets the colour.
int SCV(Context& ctx, int rgb, const std::string& text);
// Shows a numbered message (kMsg*) in English in its colour. Any other number leaves the
// line as it is and returns -1.
int SID(Context& ctx, int message);
}  // namespace msg_cfg

}  // namespace conf
