#include "LeagueServer.h"

#include <cstdlib>
#include <iostream>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

struct Options {
    std::string root;
    int port = 0;
    leagueserver::Mode mode = leagueserver::Mode::Normal;
};

int usage(const char* program) {
    std::cerr << "usage: " << program << " --root DIR [--port N] [--mode NAME]\n";
    return 2;
}

std::optional<Options> parse(int argc, char** argv) {
    Options options;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string_view flag = argv[i];
        const std::string value = argv[i + 1];
        if (flag == "--root") {
            options.root = value;
        } else if (flag == "--port") {
            options.port = std::atoi(value.c_str());
        } else if (flag == "--mode") {
            const std::optional<leagueserver::Mode> mode = leagueserver::modeFromName(value);
            if (!mode)
                return std::nullopt;
            options.mode = *mode;
        } else {
            return std::nullopt;
        }
    }
    if (argc % 2 == 0 || options.root.empty() || options.port < 0 || options.port > 65535)
        return std::nullopt;
    return options;
}

} // namespace

int main(int argc, char** argv) {
    const std::optional<Options> options = parse(argc, argv);
    if (!options)
        return usage(argv[0]);
    leagueserver::LeagueServer server(options->root);
    server.setMode(options->mode);
    const std::optional<int> port = server.start(options->port);
    if (!port) {
        std::cerr << "cannot listen on 127.0.0.1:" << options->port << '\n';
        return 1;
    }
    std::cout << *port << std::endl;
    // Serves until whoever started it goes away and stdin reaches its end.
    std::cin.ignore(std::numeric_limits<std::streamsize>::max());
    return 0;
}
