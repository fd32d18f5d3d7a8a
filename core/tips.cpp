#include "core/tips.h"

namespace Tips {

const QStringList &texts()
{
    static const QStringList tips{
        QStringLiteral("Need help? Press F1 to open the help file, and see if it is useful."),
        QStringLiteral("You can make files openable using double-clicking by clicking the 'make file "
                       "openable...' button in Options."),
        QStringLiteral("If you find status bar tips irriating, you can turn it off in Options."),
        QStringLiteral("You can browse for models/textures/movies with the button '...' beside the "
                       "textbox."),
        QStringLiteral("Does the browser for texture/model/movie gives the full path? You may have set "
                       "the Serious Sam 2 Path wrongly in Options."),
        QStringLiteral("Do you know there is a log for the editor? Everytime you do something "
                       "important it will write."),
        QStringLiteral("Does the tip goes way too fast or slow?? You can change the settings in "
                       "Options."),
        QStringLiteral("You can omit some field for the NFOs by unchecking the checkbox in the "
                       "'Include' colunm"),
        QStringLiteral("Go to steamcommunity.com/app/204340/discussions and ask a question if you have "
                       "any doubts with this editor or SS2 stuffs."),
        QStringLiteral("Checkbox grayed in the 'Include' colunm cannot be omitted."),
        QStringLiteral("If you prefer to, you can type the path for the model/texture/movie manually."),
        QStringLiteral(".NFO files have two types, episode and level. The editor helps you to identify "
                       "the correct one when you open a .NFO file."),
        QStringLiteral("From v1.1 onwards, you can now create a new file by clicking New -> <NFO/DSC> "
                       "in the folder view."),
    };
    return tips;
}

} // namespace Tips
