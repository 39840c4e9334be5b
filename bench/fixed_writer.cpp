// Writes prepared bytes in prepared pieces, one write call per piece, after
// reading its input to the end: what the converter's output costs with no
// reading of numbers, no arithmetic and no formatting.
//
// Usage: fixed_writer BYTES SIZES < input, where BYTES holds the whole
// output and SIZES the length of each piece, one per line.
#include <cerrno>
#include <cstddef>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: fixed_writer BYTES SIZES < input\n";
        return 2;
    }
    std::ifstream bytes_file(argv[1], std::ios::binary);
    const std::string bytes(
        (std::istreambuf_iterator<char>(bytes_file)), std::istreambuf_iterator<char>());
    std::ifstream sizes_file(argv[2]);
    std::vector<std::size_t> sizes;
    for (std::size_t size = 0; sizes_file >> size;) {
        sizes.push_back(size);
    }

    std::vector<char> input(65536);
    while (read(0, input.data(), input.size()) > 0) {}

    const char* next = bytes.data();
    for (std::size_t size : sizes) {
        while (size > 0) {
            const ssize_t written = write(1, next, size);
            if (written < 0 && errno == EINTR) {
                continue;
            }
            if (written <= 0) {
                return 1;
            }
            next += written;
            size -= static_cast<std::size_t>(written);
        }
    }
    return 0;
}
