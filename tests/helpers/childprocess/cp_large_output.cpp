// cp_large_output <stdout bytes> <stderr bytes> [seed]: writes the pattern
// stream `seed` to standard output and the stream `seed + 1` to standard
// error, one error block after every four output blocks, and exits with 0.
#include "child_io.h"
#include "pattern.h"

#include <algorithm>

int main(int argc, char** argv) {
    unsigned long long out_left = child_io::number(argc > 1 ? argv[1] : nullptr, 0);
    unsigned long long err_left = child_io::number(argc > 2 ? argv[2] : nullptr, 0);
    const unsigned long long seed = child_io::number(argc > 3 ? argv[3] : nullptr, 1);
    static unsigned char block[cp_pattern::block_size];
    unsigned long long out_index = 0;
    unsigned long long err_index = 0;
    while (out_left != 0 || err_left != 0) {
        if (out_left != 0) {
            cp_pattern::fill_block(seed, out_index++, block);
            const std::size_t part = static_cast<std::size_t>(std::min<unsigned long long>(out_left, sizeof block));
            if (!child_io::write_all(STD_OUTPUT_HANDLE, block, part)) return 1;
            out_left -= part;
        }
        if (err_left != 0 && (out_index % 4 == 0 || out_left == 0)) {
            cp_pattern::fill_block(seed + 1, err_index++, block);
            const std::size_t part = static_cast<std::size_t>(std::min<unsigned long long>(err_left, sizeof block));
            if (!child_io::write_all(STD_ERROR_HANDLE, block, part)) return 2;
            err_left -= part;
        }
    }
    return 0;
}
