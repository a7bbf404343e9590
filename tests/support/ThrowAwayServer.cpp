#include "support/ThrowAwayServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ormaline::testing {

namespace {

// A loopback port that nothing listens on now.
int FreePort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    int port = 0;
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    close(fd);
    return port;
}

} // namespace

ThrowAwayServer::ThrowAwayServer() : port_(FreePort()) {
    folder_ = (std::filesystem::temp_directory_path() /
               ("ormaline-server-" + std::to_string(getpid()) + "-" + std::to_string(port_)))
                  .string();
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    // The service account that runs the server (when the tests run as root) must be
    // able to enter the folder.
    std::filesystem::permissions(folder_, std::filesystem::perms::all);
}

ThrowAwayServer::~ThrowAwayServer() {
    Stop();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

bool ThrowAwayServer::RunScript(const std::string& command) {
    // The scripts read where the cluster lives from the environment: this server's
    // port and folder, the demo scale, never the suite's own settings.
    const std::string line =
        "env -u ORMALINE_PGDATA -u ORMALINE_DEMO_SCALE ORMALINE_DB_NAME=ormaline"
        " ORMALINE_DB_PORT=" +
        std::to_string(port_) + " ORMALINE_STATE='" + folder_ + "/state' bash '" +
        ORMALINE_SOURCE_DIR + "/scripts/db-server.sh' " + command + " '" + folder_ +
        "/pgdata' >>'" + folder_ + "/scripts.log' 2>&1";
    return std::system(line.c_str()) == 0;
}

bool ThrowAwayServer::Start() {
    return port_ != 0 && RunScript("start");
}

bool ThrowAwayServer::Stop() {
    if (!std::filesystem::exists(folder_ + "/pgdata/PG_VERSION"))
        return true;
    return RunScript("stop");
}

std::string ThrowAwayServer::ConnectionString() const {
    return "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=" + std::to_string(port_) +
           ";Database=ormaline;UID=ormaline_reader;PWD=ormaline_reader;ReadOnly=1;SSLmode=disable;";
}

std::string ThrowAwayServer::Log() const {
    std::ifstream in(folder_ + "/scripts.log");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace ormaline::testing
