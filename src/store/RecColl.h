#pragma once

#include "Records.h"

#include <QHash>
#include <QString>
#include <memory>
#include <vector>

// Ordered, keyed collection of records with a 1-based cursor. The key of a record is its id
// followed by "$" (MakeIndex). The collection owns its records; Append stores a copy.
template <class Rec> class CRecColl {
public:
    CRecColl() = default;
    CRecColl(const CRecColl&) = delete;
    CRecColl& operator=(const CRecColl&) = delete;
    virtual ~CRecColl() = default;

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    int32_t CurPosition() const { return m_pos; }

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
        m_pos = 0;
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

    void ResetIndex() { m_pos = 0; }

    bool GetNext(Rec*& out) {
        out = nullptr;
        if (Count() > 0 && m_pos >= 0 && m_pos < Count()) {
            out = m_items[m_pos].rec.get();
            ++m_pos;
            return true;
        }
        return false;
    }

    bool GetPrev(Rec*& out) {
        out = nullptr;
        if (Count() == 0)
            return false;
        if (m_pos == 0) {
            m_pos = Count();
            out = m_items[m_pos - 1].rec.get();
            return true;
        }
        if (m_pos >= 2 && m_pos <= Count()) {
            --m_pos;
            out = m_items[m_pos - 1].rec.get();
            return true;
        }
        return false;
    }

    bool RemoveOnPos() {
        if (Count() > 0 && m_pos >= 1 && m_pos <= Count()) {
            eraseAt(m_pos - 1);
            --m_pos;
            return true;
        }
        return false;
    }

    bool RemoveOn(int32_t position) {
        if (position < 1 || position > Count())
            return false;
        eraseAt(position - 1);
        m_pos = 0;
        return true;
    }
    bool RemoveOn(const QString& key) {
        int i = indexOfKey(key);
        if (i < 0)
            return false;
        eraseAt(i);
        m_pos = 0;
        return true;
    }

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
        QString key; // empty for records added by reference
        std::unique_ptr<Rec> rec;
    };
    friend class const_iterator;

    int indexOfKey(const QString& key) const {
        const Rec* rec = Item(key);
        if (!rec)
            return -1;
        for (size_t i = 0; i < m_items.size(); ++i)
            if (m_items[i].rec.get() == rec)
                return static_cast<int>(i);
        return -1;
    }
    void eraseAt(int i) {
        if (!m_items[i].key.isEmpty())
            m_byKey.remove(m_items[i].key);
        m_items.erase(m_items.begin() + i);
    }

    std::vector<Entry> m_items;
    QHash<QString, Rec*> m_byKey;
    int32_t m_pos = 0;
};

class CBelegungRecColl : public CRecColl<CBelegungRec> {};
class CAnzeigeRecColl : public CRecColl<CAnzeigeRec> {};
class CRaumartRecColl : public CRecColl<CRaumartRec> {};

class CMitarbeiterRecColl : public CRecColl<CMitarbeiterRec> {
public:
    // Takes the object itself, without a key; the caller's pointer is handed over and nulled.
    bool AppendRef(std::unique_ptr<CMitarbeiterRec>& rec) {
        if (!rec)
            return false;
        m_items.push_back({QString(), std::move(rec)});
        return true;
    }
};
