#include "FormulaCorpus.h"

#include <random>

namespace {

// GB2312 names of the kind users give their lines: 均线, 成交量, 买入, 卖出,
// 支撑, 压力, 短线, 长线, 金叉, 趋势, 强弱, 资金.
const char* const kChineseNames[] = {
    "\xBE\xF9\xCF\xDF", "\xB3\xC9\xBD\xBB\xC1\xBF", "\xC2\xF2\xC8\xEB", "\xC2\xF4\xB3\xF6",
    "\xD6\xA7\xB3\xC5", "\xD1\xB9\xC1\xA6",         "\xB6\xCC\xCF\xDF", "\xB3\xA4\xCF\xDF",
    "\xBD\xF0\xB2\xE6", "\xC7\xF7\xCA\xC6",         "\xC7\xBF\xC8\xF5", "\xD7\xCA\xBD\xF0",
};
const char* const kSeries[] = {"CLOSE", "OPEN", "HIGH", "LOW", "VOL", "AMOUNT", "C", "H", "L", "O", "V"};
const char* const kFunctions[] = {"MA", "EMA", "SMA", "REF", "HHV", "LLV", "CROSS", "SUM", "COUNT", "IF", "ABS", "MAX",
                                  "MIN", "STD", "BARSLAST", "FILTER"};
const char* const kComparisons[] = {">", "<", ">=", "<=", "=", "!="};
const char* const kArithmetic[] = {"+", "-", "*", "/"};

class FormulaWriter {
public:
    explicit FormulaWriter(std::mt19937& random) : random_(random) {}

    std::string Formula()
    {
        std::string text;
        const int lines = Pick(10, 30);
        for (int i = 0; i < lines; ++i) {
            Line(text);
        }
        return text;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    template <typename T, std::size_t N>
    const T& PickOf(const T (&items)[N])
    {
        return items[Pick(0, static_cast<int>(N) - 1)];
    }

    std::string Name()
    {
        switch (Pick(0, 3)) {
        case 0:
            return PickOf(kChineseNames);
        case 1:
            return std::string(PickOf(kChineseNames)) + std::to_string(Pick(1, 60));
        case 2:
            return "MA" + std::to_string(Pick(5, 250));
        default:
            return PickOf(kSeries);
        }
    }

    std::string Number()
    {
        if (Pick(0, 2) == 0) {
            return std::to_string(Pick(0, 99)) + "." + std::to_string(Pick(0, 99));
        }
        return std::to_string(Pick(1, 250));
    }

    std::string Operand(int depth)
    {
        switch (Pick(0, depth > 1 ? 2 : 3)) {
        case 0:
            return Name();
        case 1:
            return Number();
        case 2:
            return PickOf(kSeries);
        default:
            return Call(depth + 1);
        }
    }

    std::string Call(int depth)
    {
        std::string text = std::string(PickOf(kFunctions)) + "(" + Operand(depth);
        const int more = Pick(0, 2);
        for (int i = 0; i < more; ++i) {
            text += "," + Operand(depth);
        }
        return text + ")";
    }

    std::string Expression()
    {
        std::string text = Operand(0);
        const int terms = Pick(0, 3);
        for (int i = 0; i < terms; ++i) {
            text += PickOf(kArithmetic) + Operand(0);
        }
        return text;
    }

    std::string Condition()
    {
        std::string text = Expression() + PickOf(kComparisons) + Expression();
        if (Pick(0, 1) == 0) {
            text += Pick(0, 1) == 0 ? " AND " : " OR ";
            text += Expression() + PickOf(kComparisons) + Expression();
        }
        return text;
    }

    void Line(std::string& text)
    {
        switch (Pick(0, 5)) {
        case 0:
            text += Name() + ":=" + Expression() + ";\r\n";
            break;
        case 1:
            text += Name() + ":" + Expression() + ",COLORRED;\r\n";
            break;
        case 2:
            text += Name() + " := IF(" + Condition() + ", 1, 0);\r\n";
            break;
        case 3:
            text += "{" + std::string(PickOf(kChineseNames)) + " " + PickOf(kChineseNames) + "}\r\n";
            break;
        case 4:
            text += std::string(PickOf(kChineseNames)) + ":" + Condition() + ";\r\n";
            break;
        default:
            text += "DRAWTEXT(" + Condition() + ", LOW*0.98, '" + PickOf(kChineseNames) + "');\r\n";
            break;
        }
    }

    std::mt19937& random_;
};

}  // namespace

std::vector<std::string> MakeFormulaCorpus(std::size_t totalBytes)
{
    std::mt19937 random(1993);
    FormulaWriter writer(random);
    std::vector<std::string> corpus;
    std::size_t size = 0;
    while (size < totalBytes) {
        corpus.push_back(writer.Formula());
        size += corpus.back().size();
    }
    return corpus;
}
