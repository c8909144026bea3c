// Files as the scheduler reads and writes them, built byte by byte from their layouts: media list files,
// programme records and the expected playlist.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace e2e
{

// One record of a media list file. A text longer than 259 bytes fills its whole field without a zero.
struct MediaFixture
{
    std::string title;
    std::string pageUrl;
    std::string streamUrl;
    std::uint16_t kind = 1;
};

// A media list file made by the media list builder (tools/medialist) in the work folder; returns its path.
std::string BuildMediaList(const std::string& name, const std::vector<MediaFixture>& entries);

// The bytes of a media list file, for the damaged files that the builder refuses to make: the 64-byte header
// (its first two values as given) and one 9264-byte record per entry.
std::string MediaListBytes(const std::vector<MediaFixture>& entries, std::uint32_t first = 1,
                           std::uint32_t headerSize = 64);

// One programme as the editor writes it: 1054 bytes.
struct RecordFixture
{
    std::string name;
    MediaFixture media;
    std::array<std::uint8_t, 7> days{}; // Monday first
    std::int16_t hour = 0;
    std::int16_t minute = 0;
    std::uint8_t confirm = 1;
    std::uint8_t repeat = 1;
};
inline constexpr std::size_t RecordSize = 1054;
std::string RecordBytes(const RecordFixture& record);
std::string RecordsBytes(const std::vector<RecordFixture>& records);

// The playlist written for a programme: values as given (already escaped where needed), tabs and CR LF as
// the template lays them out, no line end after the last line.
std::string PlaylistText(const std::string& name, const std::string& title, const std::string& streamUrl,
                         const std::string& pageUrl);

// The texts the scheduler shows.
namespace texts
{
inline constexpr const char* Caption = "Sylvane Programmateur";
inline constexpr const char* QuitQuestion = "Êtes vous sûr de vouloir quitter l'application ?";
inline constexpr const char* SwitchOffQuestion =
    "Si vous désactivez le programmateur, celui-ci ne sera plus actif durant cette session, et il ne sera "
    "plus démarré automatiquement par la suite. Etes vous sûr ?";
inline constexpr const char* NoName = "Aucun nom n'est défini !";
inline constexpr const char* NoMedia = "Aucun média n'est sélectionné !";
inline constexpr const char* NoDay = "Aucun jour n'est sélectionné !";
inline constexpr const char* BadHour = "L'heure doit être comprise entre 0H et 23H !";
inline constexpr const char* BadMinute = "Les minutes doivent être comprise entre 0mn et 59mn !";
inline constexpr const char* SameName = "Il existe déjà un programme avec le même nom !";
inline constexpr const char* SameTime = "Il existe déjà un programme avec le même horaire !";
inline constexpr const char* NoProgramSelected = "Aucun programme n'est sélectionné !";
inline constexpr const char* ListNotOpened = "Chargement de la liste des médias impossible !";
inline constexpr const char* ListNotValid = "La liste des médias n'est pas un fichier valide !";
inline constexpr const char* SaveFailed = "Sauvegarde de la liste des programmes impossible !";
inline constexpr const char* LoadFailed = "Chargement de la liste des programmes impossible !";
inline constexpr const char* NoListLoaded = "Aucune liste n'est actuellement chargée !";
inline constexpr const char* DayNames[7] = {"lundi",    "mardi",  "mercredi", "jeudi",
                                            "vendredi", "samedi", "dimanche"};
std::string LaunchQuestion(const std::string& name, const std::string& title);
std::string ClockCaption(int hour, int minute);
} // namespace texts

} // namespace e2e
