#include "archive/ArchiveText.h"

namespace nkp::archive::text {

std::string notFound(const std::string& location)
{
    return "архив не найден: " + location;
}

std::string emptyDatabase(const std::string& location)
{
    return "архив не найден: база данных пуста: " + location;
}

std::string notAnArchive(const std::string& location)
{
    return "это не архив кранов этой программы, он оставлен без изменений: " + location;
}

std::string newerSchema(long long version, int known)
{
    return "архив записан более новой программой (версия схемы " + std::to_string(version)
        + ", эта программа знает версии до " + std::to_string(known)
        + "); он оставлен без изменений, обновите программу";
}

std::string damagedSchemaVersion(const std::string& stored)
{
    return "версия схемы архива повреждена (\"" + stored + "\"); архив оставлен без изменений";
}

std::string notAFile(const std::string& location)
{
    return "архив не является файлом: " + location;
}

std::string folderNotMade(const std::string& folder)
{
    return "не удалось создать папку архива " + folder;
}

std::string driverMissing(const std::string& driver, const std::string& package)
{
    return "не установлен драйвер Qt SQL " + driver + " (пакет Debian " + package + ")";
}

std::string cannotOpen(const std::string& location, const std::string& cause)
{
    return "архив не удалось открыть: " + location + ": " + cause;
}

std::string cannotPrepare(const std::string& cause)
{
    return "архив не удалось подготовить: " + cause;
}

std::string cannotRead(const std::string& cause)
{
    return "архив не удалось прочитать: " + cause;
}

std::string cannotWrite(const std::string& cause)
{
    return "в архив не удалось записать: " + cause;
}

std::string noRights(const std::string& cause)
{
    return "нет прав на таблицу архива: " + cause;
}

std::string readOnly(const std::string& location)
{
    return "архив только для чтения: " + location;
}

std::string emptyAndReadOnly(const std::string& location)
{
    return "архив пуст и только для чтения: " + location;
}

std::string outdatedAndReadOnly(const std::string& location)
{
    return "архив нужно обновить, но он только для чтения: " + location;
}

std::string unknownDatabaseError()
{
    return "неизвестная ошибка базы данных";
}

std::string postgresNoDatabase(const std::string& location)
{
    return "в адресе PostgreSQL не указана база данных: " + location;
}

std::string postgresPasswordInAddress()
{
    return "пароль PostgreSQL задаётся в PGPASSWORD или ~/.pgpass, а не в адресе";
}

std::string postgresBadPort(const std::string& port)
{
    return "неверный порт PostgreSQL \"" + port + "\"";
}

std::string postgresBadHost(const std::string& location)
{
    return "неверный адрес сервера PostgreSQL: " + location;
}

std::string noReadout(const std::string& sha256)
{
    return "в архиве нет чтения " + sha256;
}

std::string damagedDataFile(const std::string& sha256)
{
    return "сохранённый файл данных " + sha256 + " повреждён";
}

std::string craneVanished()
{
    return "кран пропал из архива во время добавления";
}

std::string cannotAdd(const std::string& path, const std::string& cause)
{
    return path + " не добавлен: " + cause;
}

std::string tooShort(std::size_t size)
{
    return "слишком короткий для файла данных (" + std::to_string(size) + " байт)";
}

std::string tooLarge()
{
    return "слишком длинный для файла данных";
}

std::string notARegularFile()
{
    return "не обычный файл";
}

std::string noSuchFile()
{
    return "файл не найден";
}

std::string noSuchFileOrFolder()
{
    return "нет такого файла или папки";
}

std::string hashFailed()
{
    return "не удалось вычислить SHA-256 образа";
}

}  // namespace nkp::archive::text
