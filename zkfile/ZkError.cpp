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

}  // namespace

std::string_view MessageFor(uint8_t code) { return code < Messages.size() ? Messages[code] : UnknownMessage; }

}  // namespace vormi
