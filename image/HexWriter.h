#pragma once
// Builds the configuration image from the configuration as plain data (ProfileStore reads
// it from the recordsets, pending edits included; never from widgets) and writes it as an
// Intel-HEX text file: 512 records and the end record, each line ended by CR LF. Profiles and
// the transfer file use it alike.
#include "image/Image.h"
#include "image/ProfileData.h"

#include <QString>
#include <functional>

class ProgramContext;

namespace HexWriter {
// The image build: resets the image and builds all 64 blocks.
void buildImage(const ProfileData& data, Image& img);

struct WriteResult {
    enum Kind {
        Written, // the file is complete
        ReadOnly, // the file or its folder may not be written (permission denied)
        Failed, // any other failure, or not a regular file; error is one sentence with the reason
        Cancelled // the program is closing (closing): nothing written
    };
    Kind kind = Written;
    QString error;
    bool ok() const { return kind == Written; }
};
// Writes the image to path (FileAccess::writeFile): the file is complete or left as it was;
// anything but a regular file is refused.
// Stops when the context is closing; clears its unsavedChanges only when the file has been
// written. progress(done, 512) after every record, when given.
WriteResult writeProfileFile(ProgramContext& context, const Image& img, const QString& path,
                             const std::function<void(int, int)>& progress = {});
}
