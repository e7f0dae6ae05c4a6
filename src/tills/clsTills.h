#pragma once

// Rows of the table Tills: one per workstation ("till"), its number against the machine's
// computer name. Till rows are written by the till list window only; these classes read.
// Connections are not owned. Database errors (platform::DbError) pass through. Main thread
// only.

#include "framework/clsCollectionDB.h"

class TTillsItem : public TCollectionDBItem
{
public:
    explicit TTillsItem(TRootCollection *collection = nullptr);

    QString ClassName() const override { return QStringLiteral("TTillsItem"); }

    // The three texts become the NUL marker (no text), both numbers -1.
    void Clear() override;
    // All five values through the setters; the copy is marked modified.
    void CopyFrom(const TRootCollectionItem &source) override;
    // Reads TillsID, TillID, Computer Name, HD Serial and Login Name of the current row.
    bool Populate(platform::SqlQuery *dataSet) override;

    // "SELECT * FROM Tills WHERE TillID = " + tillID; false when there is no such row.
    bool LoadByTillID(int tillID);

    // Texts that are blank after trimming are stored as the NUL marker.
    const QString &ComputerName() const { return m_computerName; }
    void SetComputerName(const QString &value);
    const QString &HDSerial() const { return m_hdSerial; }
    void SetHDSerial(const QString &value);
    const QString &LoginName() const { return m_loginName; }
    void SetLoginName(const QString &value);
    qint32 TillID() const { return m_tillID; }
    void SetTillID(qint32 value);
    qint32 TillsID() const { return m_tillsID; }
    void SetTillsID(qint32 value);

private:
    void SetText(QString &field, const QString &value);

    QString m_computerName;
    QString m_hdSerial;
    QString m_loginName;
    qint32 m_tillID = -1;
    qint32 m_tillsID = -1;
};

class TTills : public TCollectionDB
{
public:
    TTills();

    TTillsItem *Items(int index) const
    {
        return static_cast<TTillsItem *>(TCollectionDB::Items(index));
    }
    TTillsItem *Add() override { return static_cast<TTillsItem *>(TCollectionDB::Add()); }

    // Every till by number. An empty result leaves the collection as it was and returns 0;
    // otherwise returns the number loaded.
    int LoadAll();
};
