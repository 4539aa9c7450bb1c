#include "validation/HostMatcher.h"

#include <vector>

namespace {

bool isLabelCharacter(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' || c == '~';
}

// One step of the pattern: a literal byte, exactly one label character, or
// any number of label characters. A "*" becomes the last two in a row.
struct Step {
    enum Kind { literal, one, many } kind;
    unsigned char byte;
};

std::vector<Step> compile(const std::string& pattern) {
    std::vector<Step> steps;
    for (unsigned char c : pattern) {
        if (c == '*') {
            steps.push_back({Step::one, 0});
            steps.push_back({Step::many, 0});
        } else {
            steps.push_back({Step::literal, c});
        }
    }
    return steps;
}

// Adds the states reachable without reading: past any run of "many" steps.
void close(const std::vector<Step>& steps, std::vector<char>& active) {
    for (size_t i = 0; i < steps.size(); ++i)
        if (active[i] && steps[i].kind == Step::many) active[i + 1] = 1;
}

} // namespace

bool hostMatchesPattern(const std::string& host, const std::string& pattern) {
    if (pattern.find('*') == std::string::npos) return host == pattern;

    // A set of positions in the pattern, advanced one host byte at a time.
    const std::vector<Step> steps = compile(pattern);
    std::vector<char> active(steps.size() + 1, 0), next(steps.size() + 1, 0);
    active[0] = 1;
    close(steps, active);
    for (unsigned char c : host) {
        std::fill(next.begin(), next.end(), 0);
        bool any = false;
        for (size_t i = 0; i < steps.size(); ++i) {
            if (!active[i]) continue;
            const Step& step = steps[i];
            if (step.kind == Step::literal) {
                if (c == step.byte) next[i + 1] = any = 1;
            } else if (isLabelCharacter(c)) {
                next[step.kind == Step::one ? i + 1 : i] = any = 1;
            }
        }
        if (!any) return false;
        close(steps, next);
        active.swap(next);
    }
    return active[steps.size()] != 0;
}
