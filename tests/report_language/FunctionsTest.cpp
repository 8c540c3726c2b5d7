// The built-in functions, one table row per behaviour a report author relies on.
#include "TestHost.h"
#include "report/language/LanguageError.h"

#include <gtest/gtest.h>

namespace velkaro::report {
namespace {

using testing::Evaluator;

struct Case {
    const char* expression;
    const char* expected;
};

void expectAll(std::initializer_list<Case> cases) {
    for (const Case& c : cases) {
        Evaluator e;
        e.host().setField("Clinics", "FNAME", Variant("Светлана"));
        try {
            EXPECT_EQ(e.text(c.expression), c.expected) << c.expression;
        } catch (const velkaro::Error& error) {
            ADD_FAILURE() << c.expression << ": " << error.what();
        }
    }
}

TEST(Functions, Strings) {
    expectAll({
        {"Copy('Hello', 2, 3)", "ell"},
        {"Copy('Hello', 0, 2)", "He"},
        {"Copy('Hello', 4, 100)", "lo"},
        {"Copy('Hello', 9, 1)", ""},
        {"Copy('Hello', 2, -1)", ""},
        {"Copy(<Clinics.\"FNAME\">, 1, 1)", "С"}, // a character, not a byte
        {"Length(<Clinics.\"FNAME\">)", "8"},
        {"Length('')", "0"},
        {"Pos('lo', 'Hello')", "4"},
        {"Pos('x', 'Hello')", "0"},
        {"Pos('', 'Hello')", "0"},
        {"Trim('  a b \t')", "a b"},
        {"TrimLeft('  a ') + '|'", "a |"},
        {"TrimRight('  a ') + '|'", "  a|"},
        {"UpperCase('josé ñandú')", "JOSÉ ÑANDÚ"},
        {"LowerCase('ÁRBOL Ölçü')", "árbol ölçü"},
        {"UpperCase(<Clinics.\"FNAME\">)", "СВЕТЛАНА"},
        {"NameCase('juan PÉREZ o''brien')", "Juan Pérez O'brien"},
        {"StringReplace('a-b-c', '-', '+', [])", "a+b-c"},
        {"StringReplace('a-b-c', '-', '+', [rfReplaceAll])", "a+b+c"},
        {"StringReplace('aXbxc', 'x', '.', [rfReplaceAll, rfIgnoreCase])", "a.b.c"},
        {"StringReplace('abc', '', 'z', [rfReplaceAll])", "abc"},
        {"StringOfChar('*', 3)", "***"},
        {"DupeString('ab', 2)", "abab"},
        {"LeftStr('abcdef', 2) + RightStr('abcdef', 2) + MidStr('abcdef', 3, 2)", "abefcd"},
        {"CompareText('abc', 'ABC')", "0"},
        {"SameText('Ñu', 'ñU')", "True"},
        {"QuotedStr('it''s')", "'it''s'"},
        {"Chr(65) + Chr(241)", "Añ"},
        {"Ord('A')", "65"},
        {"Ord('ñ')", "241"},
        {"IntToHex(255, 4)", "00FF"},
        {"Format('%s tiene %d años', ['Ana', 30])", "Ana tiene 30 años"},
        {"Format('%2.2n', [1234567.891])", "1,234,567.89"},
        {"FormatFloat(',0.00##', 1234.5)", "1,234.50"},
        {"FormatFloat('#,##0.00;(#,##0.00)', -5)", "(5.00)"},
        {"FormatFloat('0.00', '12.345')", "12.35"},
    });
}

TEST(Functions, Numbers) {
    expectAll({
        {"Round(2.5)", "2"},
        {"Round(3.5)", "4"},
        {"Round(-2.5)", "-2"},
        {"Round(2.51)", "3"},
        {"Trunc(-2.7)", "-2"},
        {"Int(2.7)", "2"},
        {"Frac(2.75)", "0.75"},
        {"Abs(-3)", "3"},
        {"Abs(-2.5)", "2.5"},
        {"Sqrt(16)", "4"},
        {"Sqr(3)", "9"},
        {"Power(2, 10)", "1024"},
        {"Max(3, 7.5)", "7.5"},
        {"Min('b', 'a')", "a"},
        {"Ceil(1.2) + Floor(-1.2)", "0"},
        {"RoundTo(1.235, -2)", "1.24"},
        {"RoundTo(1.225, -2)", "1.22"},
        {"SimpleRoundTo(1.225, -2)", "1.23"},
        {"RoundTo(1234, 2)", "1200"},
        {"Odd(3)", "True"},
        {"Pi > 3.14159", "True"},
        {"Sign(-4)", "-1"},
    });
}

TEST(Functions, Dates) {
    expectAll({
        {"DateToStr(EncodeDate(2024, 1, 15))", "15/01/2024"},
        {"DaysInMonth(2024, 2)", "29"},
        {"DaysInMonth(2023, 2)", "28"},
        {"DaysInMonth(EncodeDate(2024, 4, 10))", "30"},
        {"YearOf(EncodeDate(2024, 1, 15))", "2024"},
        {"MonthOf(EncodeDate(2024, 1, 15))", "1"},
        {"DayOf(EncodeDate(2024, 1, 15))", "15"},
        {"DayOfWeek(EncodeDate(2024, 1, 15))", "2"},
        {"DateToStr(IncMonth(EncodeDate(2024, 1, 31), 1))", "29/02/2024"},
        {"DateToStr(IncMonth(EncodeDate(2024, 1, 31)))", "29/02/2024"},
        {"DateToStr(IncYear(EncodeDate(2024, 2, 29)))", "28/02/2025"},
        {"DateToStr(IncDay(EncodeDate(2024, 12, 31), 1))", "01/01/2025"},
        {"TimeToStr(EncodeTime(9, 5, 0, 0))", "09:05:00"},
        {"DateTimeToStr(EncodeDate(2024, 1, 15) + EncodeTime(9, 5, 0, 0))", "15/01/2024 09:05:00"},
        {"FormatDateTime('dd/mm/yyyy', EncodeDate(2024, 1, 15))", "15/01/2024"},
        {"FormatDateTime('dddd d mmmm', '15/01/2024')", "lunes 15 enero"},
        {"DaysBetween(EncodeDate(2024, 3, 1), EncodeDate(2024, 1, 15))", "46"},
        {"DateToStr(Date)", "15/01/2024"},
        {"DateToStr(Date())", "15/01/2024"},
        {"TimeToStr(Time)", "12:00:00"},
        {"DateTimeToStr(Now)", "15/01/2024 12:00:00"},
        {"HourOf(Now)", "12"},
        {"DateToStr(StartOfTheMonth(Date)) + ' ' + DateToStr(EndOfTheMonth(Date))", "01/01/2024 31/01/2024"},
        {"IsLeapYear(1900)", "False"},
    });
}

TEST(Functions, Conversions) {
    expectAll({
        {"IntToStr(42) + '!'", "42!"},
        {"IntToStr(2.5)", "2"},
        {"FloatToStr(1234.5)", "1234.5"},
        {"FloatToStr(1/3)", "0.333333333333333"},
        {"StrToInt(' 42 ') + 1", "43"},
        {"StrToInt('$FF')", "255"},
        {"StrToIntDef('x', -1)", "-1"},
        {"StrToFloat('2.5') * 2", "5"},
        {"StrToFloatDef('2,5', 0)", "0"},
        {"CurrToStr(StrToCurr('1.23456'))", "1.2346"},
        {"DateToStr(StrToDate('15/01/2024') + 1)", "16/01/2024"},
        {"DateToStr(StrToDate('2024-01-15'))", "15/01/2024"},
        {"TimeToStr(StrToTime('9:05'))", "09:05:00"},
        {"DateTimeToStr(StrToDateTime('15/01/2024 09:05:00'))", "15/01/2024 09:05:00"},
        {"VarToStr(Null) + '|'", "|"},
        {"VarToStr(2.5)", "2.5"},
        {"BoolToStr(True)", "-1"},
        {"BoolToStr(1 = 1, True)", "True"},
        {"StrToBool('true')", "True"},
        {"ValidInt('12') and not ValidInt('1.5')", "True"},
        {"ValidFloat('1.5') and not ValidFloat('1,5')", "True"},
        {"ValidDate('31/12/2024') and not ValidDate('31/02/2024')", "True"},
        {"VarIsNull(Null)", "True"},
        {"IIF(1 > 0, 'sí', 'no')", "sí"},
        {"IIF('True', 1, 2)", "1"},
        {"IIF(0, 1, 2)", "2"},
    });
}

TEST(Functions, FailuresNameTheFunction) {
    struct Failure {
        const char* expression;
        const char* message;
    } const failures[] = {
        {"StrToInt('abc')", "StrToInt: 'abc' no es un valor entero válido"},
        {"StrToFloat('1,5')", "StrToFloat: '1,5' no es un valor numérico válido"},
        {"StrToDate('32/01/2024')", "StrToDate: '32/01/2024' no es una fecha válida"},
        {"EncodeDate(2023, 2, 29)", "EncodeDate: la fecha 29/2/2023 no es válida"},
        {"DaysInMonth(2024, 13)", "DaysInMonth: el mes 13 no existe"},
        {"Sqrt(-1)", "Sqrt: raíz cuadrada de un número negativo"},
        {"Chr(-1)", "Chr: código de carácter fuera de rango: -1"},
        {"Round(1e300)", "Round: El valor 1E300 está fuera del rango de los números enteros"},
        {"Copy('abc', 'x', 1)", "Copy: No se puede convertir el texto 'x' a un número entero"},
        {"StringOfChar('x', 100000000)", "StringOfChar: el texto resultante es demasiado largo"},
        {"Format('%d', ['x'])", "Format: No se puede convertir el texto 'x' a un número entero"},
        {"DateToStr(1e9)", "DateToStr: la fecha está fuera del rango admitido (años 1 a 9999)"},
    };
    for (const Failure& f : failures) {
        Evaluator e;
        try {
            (void)e.evaluate(f.expression);
            ADD_FAILURE() << f.expression << " did not fail";
        } catch (const EvaluationError& error) {
            EXPECT_STREQ(error.what(), f.message) << f.expression;
        }
    }
}

TEST(Functions, TheRegistryIsAnObjectHostsExtend) {
    Evaluator e;
    FunctionRegistry& registry = e.host().functions();
    registry.add({"Twice", "Twice(X: Integer): Integer", 1, 1,
                  [](FunctionArguments& a) { return Variant(a.integer(0) * 2); }});
    EXPECT_EQ(e.text("twice(21)"), "42");
    EXPECT_NE(registry.findFunction("COPY"), nullptr);
    EXPECT_EQ(registry.findFunction("Twice")->signature(), "Twice(X: Integer): Integer");
    EXPECT_EQ(FunctionRegistry().findFunction("Copy"), nullptr); // nothing process-wide
}

} // namespace
} // namespace velkaro::report
