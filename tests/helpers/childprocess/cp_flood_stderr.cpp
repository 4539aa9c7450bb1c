// cp_flood_stderr <bytes>: writes that much of the pattern stream 2 to
// standard error, then "done" to standard output, and exits with 0.
#include "child_io.h"
#include "pattern.h"

#include <algorithm>

int main(int argc, char** argv) {
    unsigned long long left = child_io::number(argc > 1 ? argv[1] : nullptr, 8 << 20);
    static unsigned char block[cp_pattern::block_size];
    for (unsigned long long index = 0; left != 0; ++index) {
        cp_pattern::fill_block(2, index, block);
        const std::size_t part = static_cast<std::size_t>(std::min<unsigned long long>(left, sizeof block));
        if (!child_io::write_all(STD_ERROR_HANDLE, block, part)) return 2;
        left -= part;
    }
    child_io::out("done\n");
    return 0;
}
