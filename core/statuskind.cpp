#include "core/statuskind.h"

namespace StatusKinds {

const Look &of(StatusKind kind)
{
    static const Look looks[] = {
        {"INF : ", "Information", true, 0x000080, 0xffffff, "i", false},
        {"ERR : ", "Error", true, 0xcc0000, 0xffffff, "", true},
        {"WRN : ", "Warning", true, 0xffd700, 0x000000, "!", false},
        {"QSN : ", "Question", true, 0x009600, 0xffffff, "?", false},
        {"", "", false, 0, 0, "", false},
    };
    return looks[static_cast<int>(kind)];
}

} // namespace StatusKinds
