#include "editor/documenttypes.h"

#include "editor/descriptionpanel.h"
#include "editor/episodepanel.h"
#include "editor/levelpanel.h"

#include <array>

namespace DocumentTypes {

namespace {
template <typename Panel> DocumentPanel *make(QWidget *parent) { return new Panel(parent); }
bool sameText(const QString &, const QString &a, const QString &b) { return a == b; }

const std::array<DocumentType, 3> Types{{
    {DocumentKind::Description, QStringLiteral("DSC (Description)"), "newDescriptionAction", QStringLiteral("untitled.dsc"), QString(),
     QStringLiteral("New DSC Document opened"), QStringLiteral("DSC (Description)"), "openDescriptionAction",
     QStringLiteral("Open a .dsc file..."), QStringLiteral("Save .dsc file As..."),
     QStringLiteral("DSC Description File (*.dsc)|*.dsc"), QString(), false, true, true, make<DescriptionPanel>, nullptr},
    {DocumentKind::EpisodeNfo, QStringLiteral("Episode NFO (Info)"), "newEpisodeAction", QStringLiteral("untitled.nfo"), QStringLiteral(" (Episode NFO)"),
     QStringLiteral("New Episode NFO Document opened"), QStringLiteral("NFO (Episode/Level)"), "openNfoAction",
     QStringLiteral("Open a .nfo (Episode/Level) file..."), QStringLiteral("Save .nfo (Episode) file As..."),
     QStringLiteral("NFO (*.nfo)|*.nfo"), QStringLiteral("Error : This is not a episode NFO!"), true, false, false,
     make<EpisodePanel>, sameText},
    {DocumentKind::LevelNfo, QStringLiteral("Level NFO (Info)"), "newLevelAction", QStringLiteral("untitled.nfo"), QStringLiteral(" (Level NFO)"),
     QStringLiteral("New Level NFO Docuemnt opened"), QString(), nullptr, QString(),
     QStringLiteral("Save .nfo (Level) file As..."),
     QStringLiteral("Level NFO (*.nfo)|*.nfo"), QStringLiteral("Error : This is not a level NFO!"), true, false, false,
     make<LevelPanel>, LevelNfo::sameValue},
}};
} // namespace

const DocumentType &of(DocumentKind kind)
{
    Q_ASSERT(kind != DocumentKind::None);
    return Types[size_t(index(kind))];
}

} // namespace DocumentTypes
