#pragma once

#include "avchdlib/AVCHD_ClipInformation.h"

namespace Restore {

// Makes a clip information file read from the tree agree with what its
// stream calls for (`newClipInformationFile`, built from a scan): every
// field the stream decides is corrected and logged with its rule; a file
// changed this way is stamped with the tool's maker values. The per-clip
// values are copied over. Everything else of the file (its extension data,
// PRO blocks, paddings) stays as it was read.
void CorrectClipInformationFile(AVCHD::ClipInformation::BlkClipInformationFile& clipInformationFile,
                                const AVCHD::ClipInformation::BlkClipInformationFile& newClipInformationFile);

// Copies the values the steps keep beside the file.
void CopyPerClipValues(AVCHD::ClipInformation::BlkClipInformationFile& clipInformationFile,
                       const AVCHD::ClipInformation::BlkClipInformationFile& newClipInformationFile);

}  // namespace Restore
