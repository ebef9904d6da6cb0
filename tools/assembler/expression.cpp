// The expression evaluator: one pass over the text, no syntax tree. "+" and
// "-" split a text into signed parts; every other binary operator groups to
// the right; unary operators take the rest of their part.
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

#include "assembler.h"

namespace k42asm {
namespace {

using View = std::string_view;

constexpr int kBinary = 14;
constexpr int kUnary = 15;
constexpr int kOperandLess = 16;

// Removes one pair of parentheses around the whole text.
View StripOuterParentheses(View text) {
  if (text.size() < 2 || text.front() != '(' || text.back() != ')') return text;
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')' && --depth == 0)
      return i == text.size() - 1 ? text.substr(1, text.size() - 2) : text;
  }
  return text;
}

// The first "+" or "-" at depth 0 after the first character, or npos. A ")"
// closing more than was opened stops the scan and sets `parenthesisError`.
size_t SplitPoint(View text, bool& parenthesisError) {
  int depth = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (--depth < 0) {
        parenthesisError = true;
        return View::npos;
      }
    } else if (i > 0 && depth == 0 && (c == '+' || c == '-')) {
      return i;
    }
  }
  return View::npos;
}

// The next token: "(" or ")", or the text up to a parenthesis or a blank.
View NextExpressionToken(View& text) {
  View token = !text.empty() && (text[0] == '(' || text[0] == ')')
                   ? text.substr(0, 1)
                   : text.substr(0, text.find_first_of("() "));
  text = TrimLeft(text.substr(token.size()));
  return token;
}

int32_t QuotedConstant(View token) {
  // The characters up to the closing quote; the last four stay, the last
  // one in the low byte.
  uint32_t value = 0;
  for (size_t i = 1; i < token.size() && token[i] != '\''; ++i)
    value = (value << 8) | static_cast<unsigned char>(token[i]);
  return static_cast<int32_t>(value);
}

bool Fits(double v) {
  return std::isfinite(v) && v >= std::numeric_limits<int32_t>::min() &&
         v <= std::numeric_limits<int32_t>::max();
}

int32_t ShiftRight(int32_t v, int32_t n);

int32_t ShiftLeft(int32_t v, int32_t n) {
  if (n < 0) return n == std::numeric_limits<int32_t>::min() ? 0 : ShiftRight(v, -n);
  if (n == 0) return v;
  if (n > 31) return 0;
  if (n == 31) return (v & 1) ? std::numeric_limits<int32_t>::min() : 0;
  uint32_t kept = static_cast<uint32_t>(v) & ((1u << (31 - n)) - 1);
  return static_cast<int32_t>(kept << n);
}

int32_t ShiftRight(int32_t v, int32_t n) {
  if (n < 0) return n == std::numeric_limits<int32_t>::min() ? 0 : ShiftLeft(v, -n);
  if (n == 0) return v;
  if (n > 31) return 0;
  if (n == 31) return v < 0 ? 1 : 0;
  return v >> n;  // arithmetic: the low bits cleared, then divided
}

}  // namespace

int32_t Assembler::Evaluate(std::string_view text) {
  expressionDepth_ = 0;
  expressionTooDeep_ = false;
  int32_t value = EvaluateNested(text);
  if (!expressionTooDeep_) return value;
  // Deeper than any real program nests: refused as a malformed expression.
  ReportError(209, "nested too deeply");
  return 0;
}

int32_t Assembler::EvaluateNested(std::string_view text) {
  // Every level of parentheses and every operator that takes the rest of the
  // text comes through here: the depth bound keeps the stack small.
  if (expressionTooDeep_) return 0;
  if (expressionDepth_ >= kMaxExpressionDepth) {
    expressionTooDeep_ = true;
    return 0;
  }
  struct DepthGuard {
    int& depth;
    explicit DepthGuard(int& d) : depth(d) { ++depth; }
    ~DepthGuard() { --depth; }
  } guard(expressionDepth_);

  bool parenthesisError = false;
  text = StripOuterParentheses(text);
  std::vector<View> parts;
  for (;;) {
    size_t split = SplitPoint(text, parenthesisError);
    if (split == View::npos) break;
    parts.push_back(text.substr(0, split));
    text = text.substr(split);
  }
  parts.push_back(text);
  if (parenthesisError) ReportError(209, ")");

  int64_t result = 0;
  for (View part : parts) {
    part = Trim(part);
    char sign = '+';
    if (!part.empty() && (part[0] == '+' || part[0] == '-')) {
      sign = part[0];
      part = Trim(part.substr(1));
    }
    part = StripOuterParentheses(part);
    // A text of one part that came through unchanged has just been scanned.
    bool split = false;
    if (parts.size() > 1 || part.data() != text.data() || part.size() != text.size()) {
      bool ignored = false;
      split = SplitPoint(part, ignored) != View::npos;
    }
    int32_t value = split ? EvaluateNested(part) : EvaluateTerm(part);
    if (expressionTooDeep_) return 0;
    if (value == kUnresolved) return kUnresolved;
    result = sign == '+' ? result + value : result - value;
    if (result < std::numeric_limits<int32_t>::min() ||
        result > std::numeric_limits<int32_t>::max()) {
      ReportError(400, StrNumber(value));
      return 0;
    }
  }
  return static_cast<int32_t>(result);
}

int32_t Assembler::EvaluateTerm(std::string_view& text) {
  int32_t value = EvaluateFactor(text);
  while (!text.empty() && !expressionTooDeep_) {
    if (text[0] == ')') break;
    View token = NextExpressionToken(text);
    TableEntry op = FindTableEntry(operators_, token);
    if (op.format != 0) {
      int32_t right = EvaluateNested(text);
      text = {};
      if (expressionTooDeep_) return 0;
      value = ApplyBinaryOperator(op.code, value, right);
    } else {
      ReportError(100, std::string(token).append(text));
      text = {};
      value = 0;
    }
  }
  return value;
}

int32_t Assembler::EvaluateFactor(std::string_view& text) {
  if (!text.empty() && text[0] == '(') {
    int depth = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '(') ++depth;
      if (text[i] == ')' && --depth == 0) {
        View inside = text.substr(1, i - 1);
        text = Trim(text.substr(i + 1));
        return EvaluateNested(inside);
      }
    }
    text = {};
    return kUnresolved;
  }
  View token = NextExpressionToken(text);
  if (!token.empty() && token[0] == '\'') return QuotedConstant(token);
  if (!token.empty() && token[0] >= '0' && token[0] <= '9')
    return NumericConstant(std::string(token));
  TableEntry op = FindTableEntry(operators_, token);
  switch (op.format) {
    case 0:
      return LookupSymbolValue(std::string(token));
    case kUnary: {
      if (text.empty()) return kUnresolved;
      int32_t operand = EvaluateNested(text);
      text = {};
      return operand == kUnresolved ? kUnresolved : ApplyUnaryOperator(op.code, operand);
    }
    case kOperandLess:
      if (op.code == 25) return locationCounter_;
      if (op.code == 26) return variableCounter_;
      ReportError(100, StrNumber(op.code));
      return 0;
    case kBinary:
    default:
      return 0;
  }
}

int32_t Assembler::NumericConstant(const std::string& token) {
  char last = token.back();
  int radix = last == 'H' ? 16 : last == 'B' ? 2 : (last == 'O' || last == 'Q') ? 8 : 10;
  if (radix == 10) {
    double v = std::nearbyint(ValNumber(token));
    if (!Fits(v)) {
      ReportError(400, token);
      return 0;
    }
    return static_cast<int32_t>(v);
  }
  uint64_t value = 0;
  for (size_t i = 0; i + 1 < token.size(); ++i) {
    char c = token[i];
    int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : 99;
    if (digit >= radix) return kUnresolved;
    value = value * static_cast<uint64_t>(radix) + static_cast<uint64_t>(digit);
    if (value > 0xFFFFFFFFull) {
      ReportError(400, token);
      return 0;
    }
  }
  // Up to 32 bits: 0FFFFFFFFH is -1.
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

int32_t Assembler::ApplyBinaryOperator(int code, int32_t left, int32_t right) {
  if (left == kUnresolved || right == kUnresolved) return kUnresolved;
  int64_t l = left, r = right;
  double result = 0;
  switch (code) {
    case 1:
      result = static_cast<double>(l + r);
      break;
    case 2:
      result = static_cast<double>(l - r);
      break;
    case 3:
      result = static_cast<double>(l * r);
      break;
    case 4:
      result = r == 0 ? NAN : std::nearbyint(static_cast<double>(l) / static_cast<double>(r));
      break;
    case 5:
      result = r == 0 ? NAN : static_cast<double>(l / r);
      break;
    case 6:
      result = r == 0 ? NAN : static_cast<double>(l % r);
      break;
    case 7:
      result = std::nearbyint(std::pow(static_cast<double>(l), static_cast<double>(r)));
      break;
    case 9:
      return left & right;
    case 10:
      return left | right;
    case 11:
      return left ^ right;
    case 12:
      return ShiftRight(left, right);
    case 13:
      return ShiftLeft(left, right);
    case 14:
      return left == right ? -1 : 0;
    case 15:
      return left != right ? -1 : 0;
    case 16:
      return left <= right ? -1 : 0;
    case 17:
      return left < right ? -1 : 0;
    case 18:
      return left >= right ? -1 : 0;
    case 19:
      return left > right ? -1 : 0;
    default:
      ReportError(100, StrNumber(code));
      return 0;
  }
  if (!Fits(result)) {
    ReportError(400, StrNumber(right));
    return 0;
  }
  return static_cast<int32_t>(result);
}

int32_t Assembler::ApplyUnaryOperator(int code, int32_t v) {
  switch (code) {
    case 8:
      return ~v;
    case 20:
      return ((v / 256) & 255) | ((v & 255) * 256);
    case 21:
      return v & 255;
    case 22:
      return (v / 256) & 255;
    case 23:
      return v & 65535;
    case 24:
      return v / 65536;
    default:
      ReportError(100, StrNumber(code));
      return 0;
  }
}

}  // namespace k42asm
