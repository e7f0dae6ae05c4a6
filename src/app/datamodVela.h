#pragma once

#include "framework/clsZxAdoConnection.h"
#include "platform/SqlConnection.h"

#include <QString>

#include <memory>

// The data module: the program's one database connection and its keeper.
class TdmVela
{
public:
    TdmVela();  // runs DataModuleCreate
    ~TdmVela(); // runs DataModuleDestroy

    platform::SqlConnection con;
    std::unique_ptr<TZXAdoConnection> ConnectionKeeper;
    TConnectionDefaults ConnectionDefaults;
    QString AppKey;
    QString ConnectionName;

    void DataModuleCreate();
    void DataModuleDestroy();
    bool Connected() const { return con.Connected(); }
    // (Re)connects with the stored string, asking the user where needed. Never throws: a
    // failure is shown in the suite's error dialog and leaves `con` closed.
    void SetConnected(bool value = true);
};

// The process-wide data module: set by the start-up, null before and after.
extern TdmVela *dmVela;
