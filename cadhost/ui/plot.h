#pragma once
// Plotting a drawing to a PDF or PNG file, on white paper: lines in their colours (or black),
// with their lineweights, texts in the font the view draws them with.

#include <string>

#include "cadhost/sdk/dbdatabase.h"
#include "cadhost/ui/plot_layout.h"

namespace cadhost::ui {

// Plots the current space of `db`; false with the reason in `error` (nothing plotted, an
// unknown format, a file that cannot be written). Needs a QGuiApplication (any platform).
bool Plot(AcDbDatabase& db, const PlotOptions& options, std::string& error);

}  // namespace cadhost::ui
