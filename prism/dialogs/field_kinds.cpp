// Showing and reading the tuning dialog's fields by kind.
#include "field_kinds.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr std::size_t kNumberCharacters = 9;  // numbers are read from this many characters at most

std::string NumberText(const wingui::Dialog& page, int id) {
    return page.ItemText(id).substr(0, kNumberCharacters);
}

}  // namespace

void FillFields::Decimal(int id, int value) const {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    page_.SetItemText(id, text);
}

void FillFields::Unsigned(int id, int value) const {
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(value));
    page_.SetItemText(id, text);
}

void FillFields::ThreeDecimal(int id, double value) const {
    char text[352];  // "%5.3lf" of the largest double still fits
    std::snprintf(text, sizeof text, "%5.3lf", value);
    page_.SetItemText(id, text);
}

void FillFields::Text(int id, const char (&value)[kIniPathCapacity]) const { page_.SetItemText(id, value); }

void FillFields::Check(int id, int value) const { page_.SetCheck(id, value != 0); }

void FillFields::Radios(const int* ids, int count, int value) const {
    for (int i = 0; i < count; ++i) page_.SetCheck(ids[i], i == value);
}

void FillFields::DecimalGrid(int firstId, const int (&values)[9]) const {
    for (int i = 0; i < 9; ++i) Decimal(firstId + i, values[i]);
}

void FillFields::ThreeDecimalGrid(int firstId, const double (&values)[9]) const {
    for (int i = 0; i < 9; ++i) ThreeDecimal(firstId + i, values[i]);
}

void ReadFields::Decimal(int id, int& value) const { std::sscanf(NumberText(page_, id).c_str(), "%d", &value); }

void ReadFields::Unsigned(int id, int& value) const {
    const std::string text = page_.ItemText(id);
    std::uint64_t number = 0;
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ') + 1;
    for (std::size_t i = first; first != std::string::npos && i < end && number <= UINT32_MAX; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            number = 0;
            break;
        }
        number = number * 10 + unsigned(text[i] - '0');
    }
    value = number <= UINT32_MAX ? static_cast<int>(static_cast<std::uint32_t>(number)) : 0;
}

void ReadFields::ThreeDecimal(int id, double& value) const {
    std::sscanf(NumberText(page_, id).c_str(), "%lf", &value);
}

void ReadFields::Fraction(int id, double& value) const {
    ThreeDecimal(id, value);
    if (!(value >= 0.0)) value = 0.0;  // also a text read as not-a-number
    if (value > 1.0) value = 1.0;
}

void ReadFields::Text(int id, char (&value)[kIniPathCapacity]) const {
    const std::string text = page_.ItemText(id).substr(0, kIniPathCapacity - 1);
    std::memcpy(value, text.c_str(), text.size() + 1);
}

void ReadFields::Check(int id, int& value) const { value = page_.IsChecked(id) ? 1 : 0; }

void ReadFields::Radios(const int* ids, int count, int& value) const {
    value = 0;
    for (int i = 1; i < count; ++i)
        if (page_.IsChecked(ids[i])) value = i;
}

void ReadFields::DecimalGrid(int firstId, int (&values)[9]) const {
    for (int i = 0; i < 9; ++i) Decimal(firstId + i, values[i]);
}

void ReadFields::ThreeDecimalGrid(int firstId, double (&values)[9]) const {
    for (int i = 0; i < 9; ++i) ThreeDecimal(firstId + i, values[i]);
}
