// The check returns, neither crashing nor hanging, on whatever a download holds: huge, deep or mutated documents.
#include "LogTail.h"
#include "validation/SessionFileValidator.h"

#include <random>

TEST(SessionFileRobustness, HugeDeepAndMutatedFilesAreJudgedWithoutCrashingOrHanging) {
    const std::string valid = "<?xml version=\"1.0\"?><jnlp codebase=\"https://meet.tavisto.com/\" href=\"s.vca\">"
                              "<resources><jar href=\"x.jar\"/></resources></jnlp>",
                      root = "<jnlp codebase=\"https://meet.tavisto.com/\">";
    std::string open, close;
    for (int depth = 0; depth < 200000; ++depth) open += "<a>", close += "</a>";
    std::vector<std::string> inputs = {"\xEF\xBB\xBF",
                                       std::string(4 << 20, '\xFF'),
                                       root + open + "</jnlp>",
                                       root + open + close + "</jnlp>",
                                       root + std::string(1 << 20, '<') + "</jnlp>",
                                       "<jnlp codebase=\"https://" + std::string(1 << 22, 'a') + ".tavisto.com/\"/>"};
    std::mt19937 rng(0x5E551000);
    for (int n = 0; n < 400; ++n) {
        std::string text = valid;
        for (int change = 0; change < 1 + n % 4; ++change) {
            const size_t at = rng() % text.size(), replaced = rng() % 17; // none, one byte or a run
            const char byte = rng() % 2 ? static_cast<char>(rng()) : "<>\"'&/=\xC3"[rng() % 8];
            text.replace(at, replaced, 1, byte);
        }
        inputs.push_back(text);
    }
    TempDir dir;
    size_t accepted = 0;
    for (const std::string& bytes : inputs) {
        ASSERT_TRUE(writeFile(dir / L"fuzz.vca", bytes));
        accepted += validateSessionFile(dir / L"fuzz.vca");
    }
    EXPECT_LT(accepted, inputs.size()) << "the mutations reached the rejections";
}
