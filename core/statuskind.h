#pragma once

// What a report on the status row, or an entry of the log, is. One table gives each kind its log
// prefix, its picture and the name a screen reader gives that picture.
enum class StatusKind { Info, Error, Warning, Question, Misc };

namespace StatusKinds {

struct Look
{
    const char *logPrefix;       // before the message in the log ("INF : "); Misc: none
    const char *accessibleName;  // of the picture
    bool hasPicture;             // Misc entries are the log's own and have none
    unsigned disc;               // the picture: a disc of this colour (0xRRGGBB)...
    unsigned mark;               // ...with this mark on it
    const char *glyph;           // empty: the Error cross, drawn with lines
    bool shadow;
};

const Look &of(StatusKind kind);

} // namespace StatusKinds
