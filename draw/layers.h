#pragma once
// The layers and the text style a table is drawn with, found or made in a drawing from the
// settings. An existing layer or style is used as it is: settings never change it.

#include <string_view>

#include "cadhost/sdk/cadhost.h"

namespace vex {

// The layer named by the settings of `tag` ("Sideline", "Inline", "Text"), created with the
// settings' colour and linetype (loaded from "acadiso.lin" when the drawing lacks it) when
// missing. Null when the layer table cannot be opened or the name is unusable.
AcDbObjectId EnsureLayer(std::string_view tag, AcDbDatabase* db = nullptr);

// The text style named by the settings of `tag` ("Table"), created when missing: a ".shx"
// font is set by name when the host's file search finds it ("Could not find file %s.\n"
// otherwise, and the style goes without it), the big font likewise; any other font name is a
// system typeface (character set 200, pitch and family 100). Fixed height and width factor come
// from the settings. Null, with the message box "Fonttable open wrong", when the table cannot
// be opened.
AcDbObjectId EnsureTextStyle(std::string_view tag, AcDbDatabase* db = nullptr);

// The linetype of that name, loaded from "acadiso.lin" first when the drawing lacks it; null
// when it cannot be had.
AcDbObjectId FindLinetype(std::string_view name, AcDbDatabase* db = nullptr);

}  // namespace vex
