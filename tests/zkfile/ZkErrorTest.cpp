#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>

#include "vormi/zkfile/ZkError.h"

namespace vormi {

namespace {

// Every message as code page 1251 bytes written out by iconv, independent of
// the compile-time conversion the catalogue uses. The last entry is the text
// for codes above 25.
constexpr std::array<const char*, ZkErrorCount + 1> ExpectedHex = {
    // Нет ошибки
    "cde5f220eef8e8e1eae8",
    // Не хватает памяти для буферов чтения/записи файла
    "cde520f5e2e0f2e0e5f220efe0ecfff2e820e4ebff20e1f3f4e5f0eee220f7f2e5ede8ff2fe7e0efe8f1e820f4e0e9ebe0",
    // Не размещены буфера чтения/записи файла
    "cde520f0e0e7ece5f9e5edfb20e1f3f4e5f0e020f7f2e5ede8ff2fe7e0efe8f1e820f4e0e9ebe0",
    // Не могу открыть исходный файл для чтения
    "cde520eceee3f320eef2eaf0fbf2fc20e8f1f5eee4edfbe920f4e0e9eb20e4ebff20f7f2e5ede8ff",
    // Попытка перезаписать исходный файл
    "cfeeeffbf2eae020efe5f0e5e7e0efe8f1e0f2fc20e8f1f5eee4edfbe920f4e0e9eb",
    // Попытка перезаписать упакованный файл
    "cfeeeffbf2eae020efe5f0e5e7e0efe8f1e0f2fc20f3efe0eaeee2e0ededfbe920f4e0e9eb",
    // Не могу открыть исходный файл для записи
    "cde520eceee3f320eef2eaf0fbf2fc20e8f1f5eee4edfbe920f4e0e9eb20e4ebff20e7e0efe8f1e8",
    // Не могу открыть упакованный файл для записи
    "cde520eceee3f320eef2eaf0fbf2fc20f3efe0eaeee2e0ededfbe920f4e0e9eb20e4ebff20e7e0efe8f1e8",
    // Не могу открыть упакованный файл для чтения
    "cde520eceee3f320eef2eaf0fbf2fc20f3efe0eaeee2e0ededfbe920f4e0e9eb20e4ebff20f7f2e5ede8ff",
    // Нет заголовка в упакованном файле или это не упакованный файл
    "cde5f220e7e0e3eeebeee2eae020e220f3efe0eaeee2e0ededeeec20f4e0e9ebe520e8ebe820fdf2ee20ede520f3efe0eaeee2e0ededfbe920"
    "f4e0e9eb",
    // Не могу записать данные в упакованный файл
    "cde520eceee3f320e7e0efe8f1e0f2fc20e4e0ededfbe520e220f3efe0eaeee2e0ededfbe920f4e0e9eb",
    // Не могу считать данные из упакованного файла
    "cde520eceee3f320f1f7e8f2e0f2fc20e4e0ededfbe520e8e720f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Слишком маленький буфер для данных из упакованного файла
    "d1ebe8f8eaeeec20ece0ebe5edfceae8e920e1f3f4e5f020e4ebff20e4e0ededfbf520e8e720f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Слишком маленький буфер для заголовка упакованного файла
    "d1ebe8f8eaeeec20ece0ebe5edfceae8e920e1f3f4e5f020e4ebff20e7e0e3eeebeee2eae020f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Не могу считать заголовок упакованного файла
    "cde520eceee3f320f1f7e8f2e0f2fc20e7e0e3eeebeee2eeea20f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Неправильный заголовок упакованного файла
    "cde5eff0e0e2e8ebfcedfbe920e7e0e3eeebeee2eeea20f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Слишком большой заголовок упакованного файла
    "d1ebe8f8eaeeec20e1eeebfcf8eee920e7e0e3eeebeee2eeea20f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Не могу считать данные из исходного файла
    "cde520eceee3f320f1f7e8f2e0f2fc20e4e0ededfbe520e8e720e8f1f5eee4edeee3ee20f4e0e9ebe0",
    // Неподдерживаемая версия упакованного файла
    "cde5efeee4e4e5f0e6e8e2e0e5ece0ff20e2e5f0f1e8ff20f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Не могу записать данные в исходный файл
    "cde520eceee3f320e7e0efe8f1e0f2fc20e4e0ededfbe520e220e8f1f5eee4edfbe920f4e0e9eb",
    // Недопустимый размер максимального фрагмента
    "cde5e4eeeff3f1f2e8ecfbe920f0e0e7ece5f020ece0eaf1e8ece0ebfcedeee3ee20f4f0e0e3ece5edf2e0",
    // Недопустимый размер словаря
    "cde5e4eeeff3f1f2e8ecfbe920f0e0e7ece5f020f1ebeee2e0f0ff",
    // Недостаточно памяти для размещения словаря
    "cde5e4eef1f2e0f2eef7edee20efe0ecfff2e820e4ebff20f0e0e7ece5f9e5ede8ff20f1ebeee2e0f0ff",
    // Слишком большой суффикс упакованного файла
    "d1ebe8f8eaeeec20e1eeebfcf8eee920f1f3f4f4e8eaf120f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Неверная контрольная сумма
    "cde5e2e5f0ede0ff20eaeeedf2f0eeebfcede0ff20f1f3ecece0",
    // Не могу считать суффикс упакованного файла
    "cde520eceee3f320f1f7e8f2e0f2fc20f1f3f4f4e8eaf120f3efe0eaeee2e0ededeee3ee20f4e0e9ebe0",
    // Неизвестная ошибка
    "cde5e8e7e2e5f1f2ede0ff20eef8e8e1eae0",
};

std::string FromHex(const char* hex) {
    std::string bytes;
    for (const char* p = hex; p[0] != '\0' && p[1] != '\0'; p += 2) {
        bytes += static_cast<char>(std::stoi(std::string(p, 2), nullptr, 16));
    }
    return bytes;
}

TEST(ZkErrorTest, EveryMessageMatchesItsCodePage1251Bytes) {
    for (int code = 0; code < ZkErrorCount; ++code) {
        EXPECT_EQ(MessageFor(static_cast<uint8_t>(code)), FromHex(ExpectedHex[code])) << "code " << code;
    }
}

TEST(ZkErrorTest, CodesAboveTheTableShareOneText) {
    const std::string unknown = FromHex(ExpectedHex[ZkErrorCount]);
    EXPECT_EQ(MessageFor(26), unknown);
    EXPECT_EQ(MessageFor(255), unknown);
}

// Library users read these; a copied line or a shifted table would give two
// codes one name.
TEST(ZkErrorTest, EveryCodeHasItsOwnEnglishName) {
    std::set<std::string_view> names;
    for (int code = 0; code < ZkErrorCount; ++code) names.insert(ErrorName(static_cast<ZkError>(code)));
    EXPECT_EQ(names.size(), size_t{ZkErrorCount});
    EXPECT_EQ(ErrorName(zkeNone), "no error");
    EXPECT_EQ(ErrorName(zkeBadHalveLimit), "the file was packed with another halving limit");
    EXPECT_EQ(ErrorName(static_cast<ZkError>(200)), "unknown error");
}

}  // namespace

}  // namespace vormi
