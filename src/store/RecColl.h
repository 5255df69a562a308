#pragma once

#include "Records.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// Ordered, keyed collection of records. The key of a record is its id followed by "$"
// (MakeIndex). The collection owns its records; Append stores a copy.
template <class Rec> class CRecColl {
public:
    CRecColl() = default;
    CRecColl(const CRecColl&) = delete;
    CRecColl& operator=(const CRecColl&) = delete;
    virtual ~CRecColl() = default;

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }

    static QString MakeIndex(int32_t id) { return QString::number(id) + QLatin1Char('$'); }

    // Position 1..Count; nullptr when there is none.
    Rec* Item(int32_t position) const {
        if (position < 1 || position > Count())
            return nullptr;
        return m_items[position - 1].rec.get();
    }
    // Key as made by MakeIndex; records added without a key are not found.
    Rec* Item(const QString& key) const { return m_byKey.value(key, nullptr); }

    void Clear() {
        m_items.clear();
        m_byKey.clear();
    }

    bool CopyFrom(const CRecColl* source) {
        if (!source)
            return false;
        Clear();
        for (const auto& e : source->m_items)
            if (!Append(e.rec.get()))
                return false;
        return true;
    }

    bool Append(const Rec* rec) {
        if (!rec)
            return false;
        QString key = MakeIndex(rec->key());
        if (m_byKey.contains(key))
            return false;
        auto copy = std::make_unique<Rec>();
        copy->CopyFrom(*rec);
        m_byKey.insert(key, copy.get());
        m_items.push_back({key, std::move(copy)});
        return true;
    }
    bool Append(const Rec& rec) { return Append(&rec); }

    // for-each support (NewEnum)
    class const_iterator {
    public:
        using Inner = typename std::vector<typename CRecColl::Entry>::const_iterator;
        explicit const_iterator(Inner it) : m_it(it) {}
        Rec* operator*() const { return m_it->rec.get(); }
        const_iterator& operator++() {
            ++m_it;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return m_it != o.m_it; }
        bool operator==(const const_iterator& o) const { return m_it == o.m_it; }

    private:
        Inner m_it;
    };
    const_iterator begin() const { return const_iterator(m_items.cbegin()); }
    const_iterator end() const { return const_iterator(m_items.cend()); }

protected:
    struct Entry {
        QString key;
        std::unique_ptr<Rec> rec;
    };
    friend class const_iterator;

    std::vector<Entry> m_items;
    QHash<QString, Rec*> m_byKey;
};

class CBelegungRecColl : public CRecColl<CBelegungRec> {};
class CAnzeigeRecColl : public CRecColl<CAnzeigeRec> {};
class CRaumartRecColl : public CRecColl<CRaumartRec> {};
class CMitarbeiterRecColl : public CRecColl<CMitarbeiterRec> {};
