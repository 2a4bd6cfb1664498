#include "vormi/zkfile/ZkError.h"

#include <array>

#include "vormi/platform/AnsiText.h"

namespace vormi {

namespace {

constexpr std::array<std::string_view, ZkErrorCount> Messages = {
    "Нет ошибки"_ansi,
    "Не хватает памяти для буферов чтения/записи файла"_ansi,
    "Не размещены буфера чтения/записи файла"_ansi,
    "Не могу открыть исходный файл для чтения"_ansi,
    "Попытка перезаписать исходный файл"_ansi,
    "Попытка перезаписать упакованный файл"_ansi,
    "Не могу открыть исходный файл для записи"_ansi,
    "Не могу открыть упакованный файл для записи"_ansi,
    "Не могу открыть упакованный файл для чтения"_ansi,
    "Нет заголовка в упакованном файле или это не упакованный файл"_ansi,
    "Не могу записать данные в упакованный файл"_ansi,
    "Не могу считать данные из упакованного файла"_ansi,
    "Слишком маленький буфер для данных из упакованного файла"_ansi,
    "Слишком маленький буфер для заголовка упакованного файла"_ansi,
    "Не могу считать заголовок упакованного файла"_ansi,
    "Неправильный заголовок упакованного файла"_ansi,
    "Слишком большой заголовок упакованного файла"_ansi,
    "Не могу считать данные из исходного файла"_ansi,
    "Неподдерживаемая версия упакованного файла"_ansi,
    "Не могу записать данные в исходный файл"_ansi,
    "Недопустимый размер максимального фрагмента"_ansi,
    "Недопустимый размер словаря"_ansi,
    "Недостаточно памяти для размещения словаря"_ansi,
    "Слишком большой суффикс упакованного файла"_ansi,
    "Неверная контрольная сумма"_ansi,
    "Не могу считать суффикс упакованного файла"_ansi,
};
static_assert(Messages.size() == zkeEndMarkerRead + 1, "every error code needs its message");
static_assert(!Messages.back().empty(), "every error code needs its message");

constexpr std::string_view UnknownMessage = "Неизвестная ошибка"_ansi;

constexpr std::array<std::string_view, ZkErrorCount> Names = {
    "no error",
    "not enough memory for the file buffers",
    "the file buffers are missing",
    "cannot open the source for reading",
    "the restored file exists and may not be replaced",
    "the compressed file exists and may not be replaced",
    "cannot create the restored file",
    "cannot create the compressed file",
    "cannot open the compressed file for reading",
    "no header where the compressed file should start",
    "cannot write to the compressed file",
    "cannot read the coded data of the compressed file",
    "buffer too small for the compressed data",
    "the information block does not fit in the input buffer",
    "the header or the information block is cut short",
    "not a compressed file, or a damaged header",
    "the information block does not fit in the output buffer",
    "cannot read the source",
    "unsupported version of the compressed file",
    "cannot write to the restored file",
    "the file was packed with another halving limit",
    "invalid dictionary size",
    "not enough memory for the dictionary",
    "the end marker does not fit in a buffer",
    "wrong end marker: the compressed file is damaged",
    "the compressed file ends before its end marker",
};
static_assert(Names.size() == zkeEndMarkerRead + 1, "every error code needs its name");
static_assert(!Names.back().empty(), "every error code needs its name");

}  // namespace

std::string_view MessageFor(uint8_t code) { return code < Messages.size() ? Messages[code] : UnknownMessage; }

std::string_view ErrorName(ZkError code) { return code < Names.size() ? Names[code] : "unknown error"; }

}  // namespace vormi
