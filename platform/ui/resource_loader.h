#pragma once
// Reads panel resource files. A resource file is JSON (UTF-8):
//
//   { "panels": [ <panel>, ... ] }
//   <panel>   { "name": "G104", "title": "...", "left", "top", "width", "height": int,
//               "charset": int, "backcolor": <colour>, "callback": "evG104",
//               "menubar": { "menus": [ <menu>, ... ] }, "controls": [ <control>, ... ] }
//   <menu>    { "id": int, "name": "...", "label": "...", "dimmed": bool, "callback": "...",
//               "items": [ { "id", "name", "label", "checked", "dimmed", "callback" }, ... ] }
//   <control> { "kind": "numeric" | "real" | "string" | "textmsg" | "ring" | "listbox" |
//                       "radio" | "toggle" | "command" | "led" | "table" | "timer" | "tab" |
//                       "decoration" | "chart",
//               "id": int, "name": "...", "label": "...", "left", "top", "width", "height",
//               "dimmed", "visible", "indicator": bool, "text_color", "bg_color",
//               "frame_color": <colour>, "precision": int, "value": number | text | 0/1,
//               "items": [ "label" | { "label": "...", "value": int }, ... ], "index": int,
//               "rows": [ "row label", ... ], "columns": [ "column label", ... ],
//               "cells": [ [ cell, ... ], ... ], "interval": seconds, "enabled": bool,
//               "pages": [ <panel>, ... ], "active_page": int, "window": seconds,
//               "capacity": int, "callback": "..." }
//   <colour>  an RGB integer or a text "#RRGGBB" / "0xRRGGBB"
//
// A chart starts empty; the program adds its points. "label" is its title, "precision" the
// decimals of its y labels (default 0), "window" the seconds of x it shows up to the newest
// point (default 600, above 0) and "capacity" the most points it keeps (default 36000,
// 1..1000000). "window" and "capacity" belong to charts only. Its x is seconds since a
// midnight, shown as the time of day (hh:mm:ss); a trend that runs past midnight keeps counting
// (86405 shows as 00:00:05), since x never goes back. "text_color" colours its title and axis
// labels.
//
// Integers must fit an int: a larger number is an error, never wrapped into another value.
//
// Ids are optional; controls (and menus with their items) without one are numbered from 1
// upwards, skipping the ids that are given. Unknown keys, wrong types, duplicate ids or
// names and callback names that are not registered are errors that name the file and the
// place, e.g.  ../gui/G104.json: panels[0] "G104" > controls[3] "READ": unknown control
// callback "ev104Readx".

#include <string>
#include <vector>

#include "platform/ui/callbacks.h"
#include "platform/ui/model.h"

namespace ui {

// The panels of one load: panels[0] is the requested panel, the others are its tab pages.
// Within a load, Panel::handle is the index in `panels`, Panel::parent the parent's index
// (-1 for panels[0]) and a tab control's `pages` hold indices; the runtime gives them real
// handles.
struct LoadedPanels {
    std::vector<Panel> panels;
    MenuBar menuBar;  // no menus when the panel has no menu bar
};

// 0 on success; UIE_RESOURCE or UIE_UNKNOWN_CALLBACK with *error set.
int LoadPanelFile(const std::string& file, const std::string& panelName,
                  const CallbackRegistry& registry, LoadedPanels* out, std::string* error);
// The same for resource text already in memory; `file` is only used in messages.
int ParsePanelText(const std::string& text, const std::string& file, const std::string& panelName,
                   const CallbackRegistry& registry, LoadedPanels* out, std::string* error);

// Kind names as resource files spell them.
const char* KindName(Kind kind);

}  // namespace ui
