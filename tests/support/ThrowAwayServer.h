// A database server of the test's own: a fresh cluster with the demo data on a free
// loopback port, made, started, stopped and removed through the project's scripts. A
// test that stops and starts its server under a live connection uses it, so that the
// suite's server is never touched.
#pragma once

#include <string>

namespace ormaline::testing {

class ThrowAwayServer {
public:
    ThrowAwayServer();
    // Stops the server and removes its folder, whatever happened in the test.
    ~ThrowAwayServer();
    ThrowAwayServer(const ThrowAwayServer&) = delete;
    ThrowAwayServer& operator=(const ThrowAwayServer&) = delete;

    // Creates the cluster and loads the demo data on the first start. True on success;
    // the scripts' output is in Log() otherwise.
    bool Start();
    bool Stop();

    int Port() const { return port_; }
    // A connection string for the demo database as the read-only role, without a data
    // source (the driver comes from the project's odbcinst.ini).
    std::string ConnectionString() const;
    std::string Log() const;

private:
    bool RunScript(const std::string& command);

    int port_ = 0;
    std::string folder_;
};

} // namespace ormaline::testing
