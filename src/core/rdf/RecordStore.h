#pragma once

#include <cstddef>

#include "rdf/RdfFormat.h"

// The memory that holds the records of one open file: an anonymous mapping given huge
// pages where the system allows, since first touching hundreds of megabytes of fresh
// 4 KiB pages costs more than reading the file. Owns its mapping; movable, not copyable.
class CRecordStore {
public:
    CRecordStore() = default;
    ~CRecordStore() { Release(); }
    CRecordStore(CRecordStore&& other) noexcept;
    CRecordStore& operator=(CRecordStore&& other) noexcept;
    CRecordStore(const CRecordStore&) = delete;
    CRecordStore& operator=(const CRecordStore&) = delete;

    // Room for count records; false (and empty) when the memory cannot be had.
    bool Allocate(std::size_t count);
    // Gives back the memory beyond the first count records.
    void Shrink(std::size_t count);
    void Release();

    RdfRecord* Data() { return m_records; }
    const RdfRecord* Data() const { return m_records; }
    std::size_t Capacity() const { return m_capacity; }

private:
    RdfRecord* m_records = nullptr;
    std::size_t m_capacity = 0;
    void* m_map = nullptr;
    std::size_t m_mapBytes = 0;
};
