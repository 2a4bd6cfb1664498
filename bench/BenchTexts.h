// Every message text of the bench, stored as code page 1251 bytes. Texts go
// through ToOem just before they are written; file names, numbers and pure
// ASCII fragments are written as they are.
#pragma once

#include <string_view>

#include "vormi/platform/AnsiText.h"

namespace vormi::txt {

// Program start and end.
inline constexpr std::string_view kStartBanner = "Программа Vormidane запущена..."_ansi;
inline constexpr std::string_view kEndBanner = "программа Vormidane завершена."_ansi;
inline constexpr std::string_view kPressEnter = "Нажмите Enter для выхода из программы..."_ansi;
inline constexpr std::string_view kHalveLimitInUse = "  Ополовинивание счетчиков через, симв.: "_ansi;
inline constexpr std::string_view kVerdictEqual = "  Правильно."_ansi;
inline constexpr std::string_view kVerdictDifferent = "  НЕправильно."_ansi;

// Command line.
inline constexpr std::string_view kParseStart = " Разбор командной строки..."_ansi;
inline constexpr std::string_view kParseEnd = " Завершен разбор командной строки."_ansi;
inline constexpr std::string_view kBadNumber = "    !неправильное число:"_ansi;
inline constexpr std::string_view kNumberOutOfRange = "    !недопустимое число:"_ansi;
inline constexpr std::string_view kBufferTooSmall = "\a    буфер слишком мал: "_ansi;
inline constexpr std::string_view kUsingMinimum = ", использую минимальный: "_ansi;
inline constexpr std::string_view kBufferTooLarge = "\a    буфер слишком велик: "_ansi;
inline constexpr std::string_view kUsingMaximum = ", использую максимальный: "_ansi;
inline constexpr std::string_view kBufferInUse = "  использую буфер, байт: "_ansi;
inline constexpr std::string_view kRepeatInUse = "  повтор, раз: "_ansi;
inline constexpr std::string_view kUsingLeastPeriod = "     использую минимальное допустимое значение:"_ansi;
inline constexpr std::string_view kPeriodInUse = "  ополовинивание счетчиков через, симв.: "_ansi;

// Timed runs.
inline constexpr std::string_view kPackHeader = " Упаковка: \""_ansi;
inline constexpr std::string_view kUnpackHeader = " Распаковка: \""_ansi;
inline constexpr std::string_view kArrow = "\" -> \""_ansi;
inline constexpr std::string_view kRepeatCount = "\" (повтор, раз: "_ansi;
inline constexpr std::string_view kHeaderClose = ")..."_ansi;
inline constexpr std::string_view kDone = " завершено."_ansi;
inline constexpr std::string_view kRunError = "\a  ОШИБКА: "_ansi;
inline constexpr std::string_view kPackTime = "  Время на 1 упаковку, мс: "_ansi;
inline constexpr std::string_view kUnpackTime = "  Время на 1 распаковку, мс: "_ansi;
inline constexpr std::string_view kSpeed = " Скорость, байт/с: "_ansi;
inline constexpr std::string_view kSizeRatio = "  Отношение (Размер упакованного файла)/(Размер исходного): "_ansi;
inline constexpr std::string_view kCodingRatio = "  Степень сжатия данных (упакованные)/(исходные): "_ansi;
inline constexpr std::string_view kHalvings = "  Ополовиниваний счетчиков: "_ansi;
// Shown in place of a quotient whose divisor is 0.
inline constexpr std::string_view kNotAvailable = "н/д"_ansi;

// File comparison.
inline constexpr std::string_view kCompareHeader = " Проверка. Сравнение \""_ansi;
inline constexpr std::string_view kCompareAnd = "\" и \""_ansi;
inline constexpr std::string_view kCompareHeaderClose = "\"..."_ansi;
inline constexpr std::string_view kCompareNoMemory = "\a ОШИБКА: Недостаточно памяти для буферов."_ansi;
inline constexpr std::string_view kCompareCannotOpen = "\a ОШИБКА: Не могу открыть для чтения: "_ansi;
inline constexpr std::string_view kMismatchAt = "Несовпадение на байте номер (нумерация с нуля): "_ansi;
inline constexpr std::string_view kPairSeparator = " : "_ansi;
inline constexpr std::string_view kPairGap = ", "_ansi;

// Usage text, one entry per line; the empty first and last lines are the
// help routine's own.
inline constexpr std::string_view kUsage[] = {
    "Использование программы:"_ansi,
    "   vormi.exe команда [опции...]"_ansi,
    " Команды:"_ansi,
    "   c  - упаковать \"файл0\" в \"файл1\";"_ansi,
    "   d  - распаковать \"файл0\" в \"файл1\";"_ansi,
    "   сd - упаковать \"файл0\" в \"файл1\", распаковать в \"файл2\""_ansi,
    "        и сравнить \"файл0\" с \"файл2\"."_ansi,
    " по умолчанию: \"файл0\"=test.txt, \"файл1\"=test._tx, \"файл2\"=test.!tx."_ansi,
    " Опции:"_ansi,
    "  /0:файл0 - имя для \"файл0\";"_ansi,
    "  /1:файл1 - имя для \"файл1\";"_ansi,
    "  /2:файл2 - имя для \"файл2\";"_ansi,
    "  /f:папка - имя рабочей папки, добавляется к имени файла, если оно не содержит пути;"_ansi,
    "  /b:NNNN - размер буфера файла NNNN (999<NNNN<2147482624) [65535];"_ansi,
    "  /h:NN - ополовинить счетчики после каждых NN символов (511<NNNN<1280) [1024];"_ansi,
    "  /r:NN - повторить операцию NN раз (0<NN<101);"_ansi,
    "Пример:"_ansi,
    "   vormi.exe cd /0:myfile.dat"_ansi,
};

}  // namespace vormi::txt
