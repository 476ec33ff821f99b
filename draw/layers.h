#pragma once
// The layers and the text style a table is drawn with, found or made in a drawing from the
// settings. An existing layer or style is used as it is: settings never change it.

#include <string_view>

#include "cadhost/sdk/cadhost.h"
#include "settings/settings.h"

namespace vex {

class MessageSink;

// The layer named by `entry`, created with its colour and linetype (loaded from
// "acadiso.lin" when the drawing lacks it) when missing. Null when the layer table cannot be
// opened or the name is unusable.
AcDbObjectId EnsureLayer(const LayerEntry& entry, AcDbDatabase& db);

// The text style named by `entry`, created when missing: a ".shx" font is set by name when
// the host's file search finds it ("Could not find file %s.\n" otherwise, and the style goes
// without it), the big font likewise; any other font name is a system typeface (character set
// 200, pitch and family 100). Fixed height and width factor come from the entry. Null, with the
// message box "Fonttable open wrong", when the table cannot be opened.
AcDbObjectId EnsureTextStyle(const TextStyleEntry& entry, AcDbDatabase& db, MessageSink& sink);

// The linetype of that name, loaded from "acadiso.lin" first when the drawing lacks it; null
// when it cannot be had.
AcDbObjectId FindLinetype(std::string_view name, AcDbDatabase& db);

}  // namespace vex
