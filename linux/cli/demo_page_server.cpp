#include "cli/demo_page_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

namespace pelux {

namespace {

constexpr std::size_t kMaxRequestBytes = 16 * 1024;

std::string response(const char* status, const std::string& body) {
    return std::string("HTTP/1.0 ") + status +
           "\r\nContent-Type: text/html; charset=utf-8\r\nCache-Control: no-store\r\nContent-Length: " +
           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

void writeAll(int fd, const std::string& data) {
    for (std::size_t done = 0; done < data.size();) {
        const ssize_t n = ::send(fd, data.data() + done, data.size() - done, MSG_NOSIGNAL);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace

const std::string& demoPageHtml() {
    static const std::string page = R"(<!doctype html>
<html lang="en"><head><meta charset="utf-8"><title>PeluxBar sample text</title>
<style>body{font:20px/1.6 sans-serif;max-width:46em;margin:2em auto;padding:0 1em}
:lang(zh){font-family:"Noto Sans CJK SC","Noto Sans SC","Microsoft YaHei","PingFang SC",sans-serif}
:lang(ja){font-family:"Noto Sans CJK JP","Noto Sans JP","Yu Gothic","Hiragino Sans",sans-serif}
iframe{width:100%;height:9em;border:1px solid #ccc}</style></head><body>
<h1>PeluxBar sample text</h1>
<p>Load a dictionary from the band's menu (the button at its left), then move the mouse pointer
over the text below. The band shows the word under the pointer.</p>
<h2 lang="zh">中文</h2>
<p lang="zh">中国人很多。我们学习汉语，每天读报纸。北京是中国的首都，上海是一个大城市。</p>
<h2 lang="ja">日本語</h2>
<p lang="ja">日本語を話す人は多いです。東京は日本の首都です。私は毎日学校へ行きます。</p>
<h2>English</h2>
<p>The cats were sleeping in the garden. She went to the market and bought books.</p>
<h2>A frame</h2>
<iframe src="/frame"></iframe>
</body></html>
)";
    return page;
}

const std::string& demoFrameHtml() {
    static const std::string page = R"(<!doctype html>
<html lang="en"><head><meta charset="utf-8"><style>body{font:20px/1.6 sans-serif}
:lang(zh){font-family:"Noto Sans CJK SC","Noto Sans SC","Microsoft YaHei","PingFang SC",sans-serif}
:lang(ja){font-family:"Noto Sans CJK JP","Noto Sans JP","Yu Gothic","Hiragino Sans",sans-serif}</style></head><body>
<p lang="zh">学生在图书馆看书。</p><p lang="ja">猫が好きです。</p><p>Children are reading.</p>
</body></html>
)";
    return page;
}

bool CDemoPageServer::start(std::string& error) {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_listener < 0) return error = std::strerror(errno), false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listener, 16) != 0 ||
        ::getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        error = std::strerror(errno);
        ::close(m_listener);
        m_listener = -1;
        return false;
    }
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
    return true;
}

void CDemoPageServer::stop() {
    m_stopping = true;
    if (m_thread.joinable()) m_thread.join();
    if (m_listener >= 0) ::close(m_listener);
    m_listener = -1;
}

std::string CDemoPageServer::url() const { return "http://127.0.0.1:" + std::to_string(m_port) + "/"; }

void CDemoPageServer::serve() {
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (::poll(&waiting, 1, 200) <= 0) continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) continue;
        answer(connection);
        ::close(connection);
    }
}

void CDemoPageServer::answer(int connection) {
    std::string request;
    char chunk[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < kMaxRequestBytes) {
        pollfd waiting{connection, POLLIN, 0};
        if (::poll(&waiting, 1, 2000) <= 0) return;
        const ssize_t n = ::recv(connection, chunk, sizeof chunk, 0);
        if (n <= 0) return;
        request.append(chunk, static_cast<std::size_t>(n));
    }
    const std::size_t pathEnd = request.find(' ', 4);
    const std::string path = request.rfind("GET ", 0) == 0 && pathEnd != std::string::npos
                                 ? request.substr(4, pathEnd - 4)
                                 : std::string();
    if (path == "/" || path == "/index.html") {
        writeAll(connection, response("200 OK", demoPageHtml()));
    } else if (path == "/frame") {
        writeAll(connection, response("200 OK", demoFrameHtml()));
    } else {
        writeAll(connection, response("404 Not Found", "<!doctype html><p>Not found</p>\n"));
    }
}

}  // namespace pelux
