#include "converter/write_behind.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

#include "eolfix_runner.h"

namespace {

HANDLE open_file(const std::string &path, DWORD access, DWORD disposition) {
    return CreateFileA(path.c_str(), access, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Random runs of slices as the converter hands them over, two blocks in turn, each block
// refilled only after the wait for its last write; with closes of other files in between. The
// file must end as the same writes done in order leave it.
TEST(WriteBehind, RandomSlicesLandInOrder) {
    std::string folder = make_temp_folder();
    std::mt19937 random(2026);
    for (int round = 0; round < 20; ++round) {
        std::string path = folder + "\\f.bin";
        HANDLE file = open_file(path, GENERIC_READ | GENERIC_WRITE, CREATE_ALWAYS);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        std::string model;
        std::vector<uint8_t> blocks[2] = {std::vector<uint8_t>(4096), std::vector<uint8_t>(4096)};
        uint32_t end = 0, last_end = 0;
        const int slices = 1 + static_cast<int>(random() % 40);
        for (int i = 0; i < slices; ++i) {
            std::vector<uint8_t> &block = blocks[i % 2];
            uint32_t size = random() % 4096;
            // Filled while the other block's write may be out.
            for (uint32_t k = 0; k < size; ++k)
                block[k] = static_cast<uint8_t>(random());
            ASSERT_TRUE(behind_wait());
            // Mostly at the end, as the slices go; now and then back over what is written.
            uint32_t offset = random() % 4 != 0 || end == 0 ? end : random() % end;
            behind_write(file, offset, block.data(), size);
            EXPECT_TRUE(behind_busy());
            if (model.size() < offset + size)
                model.resize(offset + size);
            model.replace(offset, size, reinterpret_cast<const char *>(block.data()), size);
            last_end = offset + size;
            end = last_end > end ? last_end : end;
        }
        ASSERT_TRUE(behind_wait());
        EXPECT_FALSE(behind_busy());
        // The position is after the last slice, as SetEndOfFile then needs.
        EXPECT_EQ(last_end, SetFilePointer(file, 0, nullptr, FILE_CURRENT));
        behind_close(file);
        ASSERT_TRUE(behind_wait());
        EXPECT_EQ(model, read_file(path)) << "round " << round;
    }
    remove_tree(folder);
}

// A failed job's error reaches the waiting thread; after it nothing is out.
TEST(WriteBehind, FailuresComeBackWithTheirError) {
    std::string folder = make_temp_folder();
    std::string path = folder + "\\r.bin";
    write_file(path, "old");
    HANDLE reader = open_file(path, GENERIC_READ, OPEN_EXISTING);
    ASSERT_NE(INVALID_HANDLE_VALUE, reader);
    const uint8_t bytes[] = {'n', 'e', 'w'};
    behind_write(reader, 0, bytes, sizeof bytes);
    SetLastError(NO_ERROR);
    EXPECT_FALSE(behind_wait());
    EXPECT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_FALSE(behind_busy());
    SetLastError(NO_ERROR);
    EXPECT_TRUE(behind_wait());
    EXPECT_EQ(static_cast<DWORD>(NO_ERROR), GetLastError());

    behind_close(reader);
    EXPECT_TRUE(behind_wait());
    behind_close(reader); // closed already
    EXPECT_FALSE(behind_wait());
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
    EXPECT_EQ("old", read_file(path));
    remove_tree(folder);
}

} // namespace
