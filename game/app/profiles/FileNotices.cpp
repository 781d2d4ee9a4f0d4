#include "game/app/profiles/FileNotices.h"

#include <algorithm>

#include "framework/core/Cp1251.h"

namespace Zorvin {

namespace {

// A folder as the player reads it: the file system's UTF-8 in the game's
// code page, with the trailing "/" that marks it as a folder.
std::string Shown(const std::string& folder)
{
    std::string shown = Utf8ToCp1251(folder.empty() ? "." : folder);
    if (shown.back() != '/')
        shown += '/';
    return shown;
}

} // namespace

void FileNotices::Add(FileNotice notice)
{
    if (std::find(waiting.begin(), waiting.end(), notice) == waiting.end())
        waiting.push_back(std::move(notice));
}

FileNotice FileNotices::Take()
{
    if (waiting.empty())
        return {};
    FileNotice first = std::move(waiting.front());
    waiting.pop_front();
    return first;
}

FileNotice FileNotices::Unreadable(const std::string& folder, const std::string& file)
{
    return {W("Файл недоступен"), W("Не удалось прочитать файл ") + file + W(" в папке ") + Shown(folder)
                + W(". Игра не будет записывать поверх него.")};
}

FileNotice FileNotices::Damaged(const std::string& folder, const std::string& file, const std::string& copy)
{
    return {W("Файл поврежден"), W("Файл ") + file + W(" в папке ") + Shown(folder)
                + W(" поврежден. Все уцелевшее сохранено, копия файла отложена как ") + Utf8ToCp1251(copy) + "."};
}

FileNotice FileNotices::DamagedStartedAfresh(const std::string& folder, const std::string& file,
                                            const std::string& copy)
{
    return {W("Файл поврежден"), W("Файл ") + file + W(" в папке ") + Shown(folder)
                + W(" поврежден и начат заново, копия файла отложена как ") + Utf8ToCp1251(copy) + "."};
}

FileNotice FileNotices::DamagedNotKept(const std::string& folder, const std::string& file)
{
    return {W("Файл поврежден"), W("Файл ") + file + W(" в папке ") + Shown(folder)
                + W(" поврежден, а отложить его копию не удалось. Игра не будет записывать поверх него.")};
}

FileNotice FileNotices::WriteFailed(const std::string& folder)
{
    return {W("Запись не удалась"), W("Не удалось записать данные игрока в папку ") + Shown(folder)
                + W(". Проверьте место на диске и права на запись. Игра продолжается, запись будет повторена.")};
}

FileNotice FileNotices::SavedGameDamaged(const std::string& folder, const std::string& copy)
{
    std::string where = copy.empty() ? W(" Файл остался в папке ") + Shown(folder) + "."
                                     : W(" Файл отложен в папке ") + Shown(folder) + W(" как ")
                                           + Utf8ToCp1251(copy) + ".";
    return {W("Игра повреждена"), W("Сохраненную игру не удалось прочитать, продолжить ее нельзя.") + where};
}

} // namespace Zorvin
