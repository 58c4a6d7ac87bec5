// A file held in memory, for the settings-file fuzzer: it stands in for a
// CFile through CFile's virtual reads and writes, so no input touches the
// disk.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/file.h"

// A buffer of its own that writes extend, or fixed bytes of the caller's that
// are only read. Reads start from the first byte.
class CMemFile : public CFile {
public:
    CMemFile() = default;
    CMemFile(const void* data, std::size_t size) : m_pFixed(static_cast<const unsigned char*>(data)), m_nSize(size) {}

    unsigned Read(void* buffer, unsigned count) override;
    void Write(const void* buffer, unsigned count) override;
    void Flush() override {}
    std::uint64_t GetLength() const override { return m_nSize; }
    void Close() override {}

    // The next read starts from the first byte again.
    void SeekToBegin() { m_nPos = 0; }
    const unsigned char* GetData() const { return m_pFixed ? m_pFixed : m_owned.data(); }

private:
    const unsigned char* m_pFixed = nullptr;
    std::vector<unsigned char> m_owned;
    std::size_t m_nSize = 0;
    std::size_t m_nPos = 0;
};
