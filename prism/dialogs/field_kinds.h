// The kinds of field of the tuning dialog's pages, as two visitors over a
// page: FillFields shows record values in the controls, ReadFields reads them
// back. A page lists its controls once (its Bind template) and both walk it.
//
// Decimal: "%d", read from the first 9 characters, unchanged when the text
// does not start with a number. Unsigned: shown and read as unsigned decimal;
// a minus sign or any other non-digit reads as 0. ThreeDecimal: "%5.3lf",
// read with "%lf" from the first 9 characters. Fraction: a ThreeDecimal
// limited to 0..1 on reading. Text: up to 259 characters. Radios: the value
// is the index of the checked button; a value with no button checks none.
#pragma once

#include "dialog.h"
#include "ini_file.h"

class FillFields {
public:
    explicit FillFields(const wingui::Dialog& page) : page_(page) {}
    void Decimal(int id, int value) const;
    void Unsigned(int id, int value) const;
    void ThreeDecimal(int id, double value) const;
    void Fraction(int id, double value) const { ThreeDecimal(id, value); }
    void Text(int id, const char (&value)[kIniPathCapacity]) const;
    void Check(int id, int value) const;
    // Radio buttons ids[0] ... ids[count - 1] for the values 0 ... count - 1.
    void Radios(const int* ids, int count, int value) const;
    // 3 x 3 grids of nine consecutive ids, row by row.
    void DecimalGrid(int firstId, const int (&values)[9]) const;
    void ThreeDecimalGrid(int firstId, const double (&values)[9]) const;

private:
    const wingui::Dialog& page_;
};

class ReadFields {
public:
    explicit ReadFields(const wingui::Dialog& page) : page_(page) {}
    void Decimal(int id, int& value) const;
    void Unsigned(int id, int& value) const;
    void ThreeDecimal(int id, double& value) const;
    void Fraction(int id, double& value) const;
    void Text(int id, char (&value)[kIniPathCapacity]) const;
    void Check(int id, int& value) const;
    // The index of the checked button among ids[1] ... ids[count - 1], else 0.
    void Radios(const int* ids, int count, int& value) const;
    void DecimalGrid(int firstId, int (&values)[9]) const;
    void ThreeDecimalGrid(int firstId, double (&values)[9]) const;

private:
    const wingui::Dialog& page_;
};
