#include "model/editor_commands.h"

#include <algorithm>

namespace vex::editor_cmd {

std::vector<int> FileToolbar(bool full) {
  if (full)
    return {kTbNew,  kTbOpen,          kTbSave,          kSeparator,      kTbEditDrawn,   kSeparator,
            kTbExcelImport, kTbExcelExport, kSeparator,   kTbInsertHeader, kTbSaveHeader,  kTbHeaderManager,
            kSeparator, kTbText,        kTbPicture,       kSeparator,      kTbSelectImage, kTbDrawImage,
            kTbDeleteImage, kSeparator, kTbZoom,          kSeparator,      kTbFlipH,       kTbFlipV,
            kSeparator, kTbAbout};
  return {kTbNew,         kTbOpen,       kTbSave,        kSeparator,     kTbEditDrawn, kSeparator,
          kTbExcelExport, kSeparator,    kTbSaveHeader,  kTbHeaderManager, kSeparator, kTbText,
          kTbPicture,     kSeparator,    kTbSelectImage, kTbDrawImage,   kTbDeleteImage, kSeparator,
          kTbZoom,        kSeparator,    kTbAbout};
}

std::vector<int> FormatToolbar(bool full) {
  std::vector<int> v = {kTbCut, kTbCopy,  kTbPaste,  kSeparator, kTbLeft,     kTbCentre,  kTbRight,
                        kSeparator, kTbTop, kTbMiddle, kTbBottom, kSeparator, kTbValueBox, kSeparator};
  if (full) {
    v.insert(v.end(), {kTbMerge, kTbUnmerge, kSeparator, kTbUseReplacement, kTbReplacementList, kSeparator,
                       kTbRowHeight, kTbColWidth, kSeparator, kTbLoadAutosave});
  } else {
    v.insert(v.end(), {kTbUseReplacement, kTbReplacementList, kSeparator, kTbFullEditing});
  }
  return v;
}

std::vector<int> OfferedEntries(const std::vector<int>& entries, bool (*offered)(int, bool), bool insideHost) {
  std::vector<int> out;
  for (int id : entries) {
    if (id == kSeparator) {
      if (!out.empty() && out.back() != kSeparator) out.push_back(id);
    } else if (offered(id, insideHost)) {
      out.push_back(id);
    }
  }
  while (!out.empty() && out.back() == kSeparator) out.pop_back();
  return out;
}

bool GreyedInContentsOnly(int id) {
  static constexpr int kGreyed[] = {kDeleteRows, kDeleteCols, kRowsAbove, kRowsBelow, kColsLeft, kColsRight,
                                    kRowHeight,  kColWidth,   kInsertHeader, kNew,    kOpen,     kExcelImport,
                                    kFlipH,      kFlipV};
  return std::find(std::begin(kGreyed), std::end(kGreyed), CanonicalCommand(id)) != std::end(kGreyed);
}

int CanonicalCommand(int id) {
  switch (id) {
    case kTbNew: return kNew;
    case kTbOpen: return kOpen;
    case kTbSave: return kSave;
    case kTbEditDrawn: return kEditDrawn;
    case kTbExcelImport: return kExcelImport;
    case kTbExcelExport: return kExcelExport;
    case kTbInsertHeader: return kInsertHeader;
    case kTbSaveHeader: return kSaveHeader;
    case kTbHeaderManager: return kHeaderManager;
    case kTbSelectImage: return kSelectImage;
    case kTbDrawImage: return kDrawImage;
    case kTbDeleteImage: return kDeleteImage;
    case kTbFlipH: return kFlipH;
    case kTbFlipV: return kFlipV;
    case kTbAbout: return kAbout;
    case kTbCut: return kCut;
    case kTbCopy: return kCopy;
    case kTbPaste: return kPaste;
    case kTbReplacementList: return kReplacementList;
    case kTbRowHeight: return kRowHeight;
    case kTbColWidth: return kColWidth;
    default: return id;
  }
}

bool Offered(int id, bool insideHost) {
  switch (CanonicalCommand(id)) {
    case kEditDrawn:
    case kSelectImage:
    case kDrawImage:
      return insideHost;
    default:
      return true;
  }
}

}  // namespace vex::editor_cmd
