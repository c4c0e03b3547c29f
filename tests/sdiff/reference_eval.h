// A plain evaluator for the texts the differentiator reads and prints, used
// only to check derivatives numerically: standard precedence, powers left to
// right, unary minus below "^" (as the library's evaluator reads them), double
// precision everywhere. Names other than the variable take fixed values.
#pragma once

#include <cmath>
#include <cstdlib>
#include <map>
#include <string>

namespace sdiff_test {

class ReferenceEval {
   public:
    ReferenceEval(std::string text, std::map<std::string, double> names)
        : s_(std::move(text)), names_(std::move(names)) {}

    // NaN when the text does not parse.
    double value() {
        i_ = 0;
        ok_ = true;
        const double v = sum();
        skip();
        return ok_ && i_ == s_.size() ? v : NAN;
    }

   private:
    void skip() {
        while (i_ < s_.size() && s_[i_] == ' ') ++i_;
    }
    bool eat(char c) {
        skip();
        if (i_ < s_.size() && s_[i_] == c) return ++i_, true;
        return false;
    }
    double sum() {
        double v = product();
        for (;;) {
            if (eat('+'))
                v += product();
            else if (eat('-'))
                v -= product();
            else
                return v;
        }
    }
    double product() {
        double v = unary();
        for (;;) {
            if (eat('*'))
                v *= unary();
            else if (eat('/'))
                v /= unary();
            else
                return v;
        }
    }
    double unary() {
        if (eat('-')) return -unary();
        if (eat('+')) return unary();
        double v = primary();
        while (eat('^')) v = std::pow(v, primary());
        return v;
    }
    double primary() {
        skip();
        if (eat('(')) {
            const double v = sum();
            if (!eat(')')) ok_ = false;
            return v;
        }
        if (i_ < s_.size() && (std::isdigit(static_cast<unsigned char>(s_[i_])))) {
            char* end = nullptr;
            const double v = std::strtod(s_.c_str() + i_, &end);
            i_ = static_cast<std::size_t>(end - s_.c_str());
            return v;
        }
        std::size_t j = i_;
        while (j < s_.size() && (std::isalnum(static_cast<unsigned char>(s_[j])) || s_[j] == '_'))
            ++j;
        const std::string name = s_.substr(i_, j - i_);
        i_ = j;
        if (name.empty()) {
            ok_ = false;
            return 0;
        }
        skip();
        if (i_ < s_.size() && s_[i_] == '(') {
            ++i_;
            const double a = sum();
            if (!eat(')')) ok_ = false;
            return call(name, a);
        }
        auto it = names_.find(name);
        if (it == names_.end()) ok_ = false;
        return it == names_.end() ? 0 : it->second;
    }
    double call(const std::string& f, double a) {
        const double pi = 3.14159265358979323846;
        if (f == "cos") return std::cos(a);
        if (f == "sin") return std::sin(a);
        if (f == "tg" || f == "tan") return std::tan(a);
        if (f == "ctg" || f == "cotan") return 1 / std::tan(a);
        if (f == "abs") return std::fabs(a);
        if (f == "sgn" || f == "sign") return a > 0 ? 1 : a < 0 ? -1 : 0;
        if (f == "sqrt" || f == "sqr") return std::sqrt(a);
        if (f == "ln" || f == "log") return std::log(a);
        if (f == "exp") return std::exp(a);
        if (f == "arcsin") return std::asin(a);
        if (f == "arccos") return std::acos(a);
        if (f == "arctg" || f == "arctan") return std::atan(a);
        if (f == "arcctg" || f == "arccotan") return pi / 2 - std::atan(a);
        if (f == "sh" || f == "sinh") return std::sinh(a);
        if (f == "ch" || f == "cosh") return std::cosh(a);
        if (f == "th" || f == "tanh" || f == "tgh") return std::tanh(a);
        if (f == "cth" || f == "cotanh" || f == "ctgh") return 1 / std::tanh(a);
        if (f == "heaviside" || f == "h") return a >= 0 ? 1 : 0;
        if (f == "log10") return std::log10(a);
        ok_ = false;
        return 0;
    }

    std::string s_;
    std::map<std::string, double> names_;
    std::size_t i_ = 0;
    bool ok_ = true;
};

}  // namespace sdiff_test
