#include "ui/main/MainDialog.h"

#include "ui/framework/AppGlobals.h"
#include "base/Controls_win.h"
#include "base/System_win.h"
#include "resources/Maker.h"
#include "resources/resource.h"
#include "schedule/MediaListFile.h"
#include "schedule/ProgramFile.h"
#include "schedule/Settings_win.h"
#include "schedule/TextField.h"
#include "scheduler/Launch_win.h"
#include "ui/framework/ListBox.h"
#include "ui/main/Fonts.h"
#include "ui/main/ProgramEditor.h"

#include <commctrl.h>

namespace
{

const char* const NoListLoaded = "Aucune liste n'est actuellement chargée !";
const char* const SaveFailed = "Sauvegarde de la liste des programmes impossible !";
const char* const LoadFailed = "Chargement de la liste des programmes impossible !";
const char* const LaunchFailed = "Lancement du programme impossible !";
const char* const MediaListNotOpened = "Chargement de la liste des médias impossible !";

struct ControlFont
{
    int id;
    const UniqueFont* font;
};

const ControlFont ControlFonts[] = {
    {IDC_TITLE_TITLE, &titleFont},
    {IDC_TITLE_MEROVIA, &titleFont},
    {IDC_TITLE_TIME2, &boldFont},
    {IDC_HOUR, &boldFont},
    {IDC_MINUTE, &boldFont},
    {IDC_TITLE_ACTIVE, &boldFont},
    {IDC_TITLE_LIST, &boldFont},
    {IDC_TITLE_PROGNAME, &boldFont},
    {IDC_TITLE_LIST2, &boldFont},
    {IDC_TITLE_DAY, &boldFont},
    {IDC_TITLE_TIME, &boldFont},
    {IDC_TITLE_REPEAT, &boldFont},
    {IDC_TITLE_INFO1, &boldFont},
    {IDC_TITLE_INFO2, &boldFont},
    {IDC_TITLE_INFO3, &boldFont},
    {IDC_TITLE_INFO4, &boldFont},
    {IDOK, &normalFont},
    {IDC_BUTTON_ACTIVE, &normalFont},
    {IDC_BUTTON_LIST, &normalFont},
    {IDC_DAY1, &normalFont},
    {IDC_DAY2, &normalFont},
    {IDC_DAY3, &normalFont},
    {IDC_DAY4, &normalFont},
    {IDC_DAY5, &normalFont},
    {IDC_DAY6, &normalFont},
    {IDC_DAY7, &normalFont},
    {IDC_ALL_DAYS, &normalFont},
    {IDC_BUTTON_ADD, &normalFont},
    {IDC_GROUP_MAIN, &normalFont},
    {IDC_GROUP_LIST, &normalFont},
    {IDC_GROUP_PROG, &normalFont},
    {IDC_REPEAT_YES, &normalFont},
    {IDC_REPEAT_NO, &normalFont},
    {IDC_CONFIRM_YES, &normalFont},
    {IDC_CONFIRM_NO, &normalFont},
    {IDC_BUTTON_QUIT, &normalFont},
    {IDC_BUTTON_WMP, &normalFont},
    {IDC_BUTTON_MEROVIA, &normalFont},
    {IDC_TITLE_CONFIRM, &confirmFont},
    {IDC_TEXT_LIST, &smallFont},
    {IDC_TEXT_REPEAT, &smallFont},
    {IDC_TEXT_LIST3, &smallFont},
    {IDC_TEXT_INFO1, &smallFont},
    {IDC_TEXT_INFO2, &smallFont},
    {IDC_TEXT_INFO3, &smallFont},
    {IDC_TEXT_INFO4, &smallFont},
    {IDC_TEXT_INFO1B, &smallFont},
    {IDC_TEXT_INFO5, &smallFont},
};

struct ControlCaption
{
    int id;
    const char* text;
};

const ControlCaption FixedCaptions[] = {
    {IDC_TITLE_ACTIVE, "Programmes activés"},
    {IDC_BUTTON_ACTIVE, "Désactiver"},
    {IDC_TITLE_LIST, "Liste des médias"},
    {IDC_BUTTON_LIST, "Charger"},
    {IDC_TEXT_LIST, NoListLoaded},
    {IDC_GROUP_LIST, "Définition d'un programme"},
    {IDC_GROUP_PROG, "Programmes définis"},
    {IDC_GROUP_MAIN, "Options générales"},
    {IDC_DAY1, "lundi"},
    {IDC_DAY2, "mardi"},
    {IDC_DAY3, "mercredi"},
    {IDC_DAY4, "jeudi"},
    {IDC_DAY5, "vendredi"},
    {IDC_DAY6, "samedi"},
    {IDC_DAY7, "dimanche"},
    {IDC_ALL_DAYS, "tous"},
    {IDC_HOUR, "12"},
    {IDC_MINUTE, "00"},
    {IDC_BUTTON_ADD, "Ajouter"},
    {IDC_BUTTON_REMOVE, "Retirer"},
    {IDC_TITLE_PROGNAME, "Nom du programme"},
    {IDC_TITLE_LIST2, "Choix du média"},
    {IDC_TITLE_DAY, "Choix du/des jour(s)"},
    {IDC_TITLE_TIME, "Choix de l'heure"},
    {IDC_TITLE_REPEAT, "Répétition ?"},
    {IDC_REPEAT_YES, "oui"},
    {IDC_REPEAT_NO, "non"},
    {IDC_TEXT_REPEAT,
     "Sans répétition, le programme ne sera lancé qu'une fois, sauf s'il est sur plusieurs jours."},
    {IDC_TEXT_LIST3,
     "Si aucun média n'est visible ici, c'est qu'il faut charger une nouvelle liste de média en "
     "cliquant sur le bouton \"charger\" situé à droite."},
    {IDC_TITLE_INFO1, "Nom du programme"},
    {IDC_TITLE_INFO2, "Jour(s) d'activation"},
    {IDC_TITLE_INFO3, "Heure d'activation"},
    {IDC_TITLE_INFO4, "Options"},
    {IDC_TITLE_CONFIRM, "Confirmer le lancement ?"},
    {IDC_CONFIRM_YES, "oui"},
    {IDC_CONFIRM_NO, "non"},
    {IDC_BUTTON_QUIT, "Quitter"},
    {IDC_BUTTON_WMP, "Lancer Media Player"},
};

} // namespace

CMain::CMain(MainServices& services) : services(services)
{
    templateId = IDD_MAIN;
}

void CMain::SetText(int id, const char* text)
{
    if (hWnd)
        SetItemText(hWnd, id, text);
}

void CMain::SetControlFonts()
{
    if (!hWnd)
        return;
    for (const ControlFont& entry : ControlFonts)
        SendDlgItemMessageA(hWnd, entry.id, WM_SETFONT, reinterpret_cast<WPARAM>(entry.font->Get()), 1);
}

void CMain::SetCaptions()
{
    if (!hWnd)
        return;
    SetText(IDC_TITLE_TITLE, AppCaption);
    SetText(IDC_TITLE_MEROVIA, MakerCopyright);
    for (const ControlCaption& caption : FixedCaptions)
        SetText(caption.id, caption.text);
    SetText(IDC_BUTTON_MEROVIA, (std::string("Visiter ") + MakerSiteName).c_str());
    SetInfoPlaceholders();
    const TickClock now = services.ReadClock();
    SetText(IDC_TITLE_TIME2, ClockCaption(now.hour, now.minute).c_str());
}

void CMain::SetInfoPlaceholders()
{
    ShowInfo(DescribeProgram(nullptr));
}

void CMain::ShowInfo(const ProgramInfo& info)
{
    SetText(IDC_TEXT_INFO1, info.name.c_str());
    SetText(IDC_TEXT_INFO1B, info.mediaTitle.c_str());
    SetText(IDC_TEXT_INFO2, info.days.c_str());
    SetText(IDC_TEXT_INFO3, info.time.c_str());
    SetText(IDC_TEXT_INFO4, info.confirm.c_str());
    SetText(IDC_TEXT_INFO5, info.repeat.c_str());
}

void CMain::SetEditorDefaults()
{
    if (!hWnd)
        return;
    SendDlgItemMessageA(hWnd, IDC_HOUR_SPIN, UDM_SETRANGE, 0, MAKELPARAM(23, 0));
    SendDlgItemMessageA(hWnd, IDC_HOUR_SPIN, UDM_SETPOS, 0, MAKELPARAM(12, 0));
    SendDlgItemMessageA(hWnd, IDC_HOUR_SPIN, UDM_SETBUDDY,
                        reinterpret_cast<WPARAM>(GetDlgItem(IDC_HOUR).hWnd), 0);
    SendDlgItemMessageA(hWnd, IDC_MINUTE_SPIN, UDM_SETRANGE, 0, MAKELPARAM(59, 0));
    SendDlgItemMessageA(hWnd, IDC_MINUTE_SPIN, UDM_SETPOS, 0, MAKELPARAM(0, 0));
    SendDlgItemMessageA(hWnd, IDC_MINUTE_SPIN, UDM_SETBUDDY,
                        reinterpret_cast<WPARAM>(GetDlgItem(IDC_MINUTE).hWnd), 0);
    SendDlgItemMessageA(hWnd, IDC_CONFIRM_YES, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(hWnd, IDC_CONFIRM_NO, BM_SETCHECK, BST_UNCHECKED, 0);
    SendDlgItemMessageA(hWnd, IDC_REPEAT_YES, BM_SETCHECK, BST_CHECKED, 0);
    SendDlgItemMessageA(hWnd, IDC_REPEAT_NO, BM_SETCHECK, BST_UNCHECKED, 0);
}

LRESULT CMain::OnInitDialog()
{
    programList.Attach(GetDlgItem(IDC_PROGRAM_LIST).hWnd);
    // The dialog is laid out for the DPI of the screen it is on (at 96 DPI as the dialog manager made it, at
    // another that layout scaled); the fonts, the banner and the labels' room follow it.
    scaling.Attach(hWnd, hInstance, templateId);
    const RetiredFonts retired = MakeFontsForDpi(scaling.Dpi());
    SetControlFonts();
    scaling.ShowBanner(IDC_BANNER, IDB_BANNER);
    SetCaptions();
    scaling.KeepCaptionsRoom();
    SetEditorDefaults();
    // Setting the position wrote "12" and "0" into the buddies; the fields start as "12" and "00".
    SetText(IDC_HOUR, "12");
    SetText(IDC_MINUTE, "00");

    // The programmes never depend on the settings key: where it may only be read (no virtualization for this
    // user, a policy), the remembered list is still read, the data folder still made, the programmes loaded;
    // only the values are not written.
    RegKey key = services.OpenSettings(true);
    const RegKey readOnly = key ? RegKey() : services.OpenSettings(false);
    const HKEY settings = key ? key.Get() : readOnly.Get();
    if (settings)
    {
        const std::string mediaListPath = ReadMediaListPath(settings);
        if (!mediaListPath.empty())
            LoadMediaList(mediaListPath);
    }
    book.Open(PrepareDataFolder(key.Get(), dataFolder));
    LoadProgramList();

    if (hWnd)
        SetTimer(hWnd, timerId, 30000, nullptr);
    return 0;
}

void CMain::ChangeDpi(unsigned dpi)
{
    if (!hWnd || !scaling.Attached() || dpi == scaling.Dpi())
        return;
    const RetiredFonts retired = MakeFontsForDpi(dpi);
    scaling.Apply(dpi);
    SetControlFonts();
    scaling.KeepCaptionsRoom();
}

LRESULT CMain::OnCommand(WORD code, WORD id, CWnd)
{
    switch (id)
    {
    case IDC_ALL_DAYS: ApplyAllDays(); break;
    case IDC_BUTTON_ACTIVE: ToggleActive(); break;
    case IDC_PROGRAM_LIST:
        if (code == LBN_SELCHANGE)
            ShowProgramInfo();
        break;
    case IDOK: SendToParent(WM_SYSCOMMAND, SC_MINIMIZE); break;
    case IDC_BUTTON_LIST: {
        // A cancelled file dialog changes nothing and shows nothing, nor does one closed by the quit. A path
        // longer than the program can hold is a list that cannot be opened: the loaded one stays, named.
        const OpenFileAnswer answer = services.ChooseMediaListFile(hWnd);
        if (answer.choice == FileChoice::TooLong)
            ShowMessage(MediaListNotOpened, MB_OK | MB_ICONERROR);
        else if (!answer.path.empty() && !book.QuitBegun())
            LoadMediaList(answer.path);
        break;
    }
    case IDC_BUTTON_ADD: AddProgram(); break;
    case IDC_BUTTON_REMOVE: RemoveProgram(); break;
    case IDC_BUTTON_QUIT: SendToParent(WM_CLOSE, 0); break;
    case IDC_BUTTON_WMP: SendToParent(WM_COMMAND, ID_LAUNCH_PLAYER); break;
    case IDC_BUTTON_MEROVIA: SendToParent(WM_COMMAND, ID_VISIT_SITE); break;
    case ID_AUTOSTART_ENDED: OnAutostartEnded(); break;
    default: break;
    }
    return 0;
}

void CMain::SendToParent(UINT message, WPARAM wParam)
{
    const CWnd parent = GetParent();
    if (parent.hWnd && IsWindow(parent.hWnd))
        SendMessageA(parent.hWnd, message, wParam, 0);
}

void CMain::ApplyAllDays()
{
    if (!hWnd)
        return;
    const UINT state = IsDlgButtonChecked(hWnd, IDC_ALL_DAYS);
    for (int id : CMain::DayBoxes)
        CheckDlgButton(hWnd, id, state);
}

LRESULT CMain::OnTimer(WPARAM id)
{
    if (book.QuitBegun())
        return 0;
    if (id == AutostartTimer)
    {
        OnAutostartTimeOut();
        return 0;
    }
    return tick.OnTimer(static_cast<unsigned>(id), timerId, active != 0, services.ReadClock(),
                        book.Programs(), tickBridge);
}

void CMain::TickBridge::ShowClock(const std::string& caption)
{
    main.SetText(IDC_TITLE_TIME2, caption.c_str());
}

LaunchResult CMain::TickBridge::Launch(const ProgramRecord& record)
{
    return main.LaunchProgram(record);
}

void CMain::TickBridge::ProgramRemoved(std::size_t position)
{
    // The selected record stays selected wherever it moved; with the fired one selected, none is.
    const LRESULT item = main.programList.SelectedItem();
    const std::size_t selected = item == LB_ERR ? 0 : main.programList.PositionAt(item);
    main.programList.Removed(main.book.Programs(), position);
    if (item != LB_ERR)
    {
        main.programList.Select(main.book.Programs(), SelectionAfterRemoval(selected, position));
        main.ShowProgramInfo();
    }
    main.SaveChanges();
}

LaunchResult CMain::LaunchProgram(const ProgramRecord& record)
{
    // The question may stay open for hours; a quit meanwhile closes it, and that is no answer: nothing is
    // launched and the programme stays as the quit saved it.
    const LaunchResult result =
        ::LaunchProgram(hWnd, record, dataFolder, [this](const std::string& text, unsigned style) {
            const int answer = ShowMessage(text.c_str(), style);
            return book.QuitBegun() ? IDCANCEL : answer;
        });
    if (book.QuitBegun())
        return LaunchResult::Interrupted;
    if (result == LaunchResult::Failed)
        ShowMessage(LaunchFailed, MB_OK | MB_ICONERROR);
    return result;
}

int CMain::ShowMessage(const char* text, UINT style)
{
    // Once the scheduler is ending, a box would only hold up its end, owned by a window that is gone.
    if (book.QuitBegun())
        return 0;
    return services.ShowMessage(hWnd, text, style);
}

void CMain::LoadMediaList(const std::string& path)
{
    MediaListResult result = ReadMediaListFile(path);
    if (result.outcome == MediaListRead::NotOpened)
    {
        // The list that is loaded stays loaded, and the label keeps naming it.
        ShowMessage(MediaListNotOpened, MB_OK | MB_ICONERROR);
        return;
    }

    media.clear();
    if (hWnd)
        EmptyListBox(GetDlgItem(IDC_MEDIA_LIST).hWnd);
    if (result.outcome == MediaListRead::NotValid)
    {
        SetText(IDC_TEXT_LIST, NoListLoaded);
        ShowMessage("La liste des médias n'est pas un fichier valide !", MB_OK | MB_ICONERROR);
        return;
    }

    media = std::move(result.entries);
    if (hWnd)
        FillMediaList();
    if (hWnd)
        SetItemPath(hWnd, IDC_TEXT_LIST, path);
    if (RegKey key = services.OpenSettings(true))
        WriteMediaListPath(key.Get(), path);
}

void CMain::FillMediaList()
{
    std::vector<ListItem> items(media.size());
    for (std::size_t i = 0; i < media.size(); ++i)
        items[i] = {media.Title(i), static_cast<LPARAM>(i)};
    FillSortedListBox(GetDlgItem(IDC_MEDIA_LIST).hWnd, items);
}

void CMain::LoadProgramList()
{
    // Another program (a backup, an antivirus at log-on) may hold the file for a moment.
    const DWORD started = GetTickCount();
    while (book.Load() == ProgramFileRead::Unreadable && GetTickCount() - started < loadRetryTime)
        Sleep(250);
    if (book.Unread())
        ShowMessage(LoadFailed, MB_OK | MB_ICONERROR);
    RefreshProgramList();
}

bool CMain::ShowSaved(const ProgramBook::SaveOutcome& outcome)
{
    if (outcome.relist)
        ShowProgramsSelecting(outcome.reselect);
    if (outcome.tell)
        ShowMessage(SaveFailed, MB_OK | MB_ICONERROR);
    return outcome.saved;
}

bool CMain::SaveProgramList(bool quiet)
{
    return ShowSaved(book.Save(SelectedProgram(), quiet));
}

void CMain::SaveChanges()
{
    // Every change reaches the disk at once: a tray program is usually ended by the log-off, not by
    // "Quitter".
    ShowSaved(book.SaveChange(SelectedProgram()));
}
