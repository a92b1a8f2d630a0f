#pragma once
// A notice page served from 127.0.0.1 by cpp-httplib, for the tests that
// fetch it (link PkgConfig::HTTPLIB): /notice serves the page the test sets,
// after a delay it may set; /probe answers the online test; /hang answers
// nothing until the server goes (or release()).
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace page_test {

// A page with the notice section around `items`.
inline std::string section(const std::string& items)
{
    return "<html><body>\n<P>////开始</P>\n" + items + "<P>////结束</P>\n</body></html>";
}

// The page the web site serves, with a newer version and every value.
inline std::string example_page(const std::string& fast_url)
{
    return section("<P>最新版本=1.7</P>\n<P>最新订购活动=掘石宝1.7发布</p>欢迎下载</P>\n<P>通知字体颜色=白色</P>\n"
                   "<P>通知闪烁开关=开启红色</P>\n<P>高速更新下载网址=" + fast_url + "</P>\n<P>更新说明=a|b|c</P>\n");
}

class PageServer {
public:
    PageServer()
    {
        server_.Get("/notice", [this](const httplib::Request&, httplib::Response& res) {
            ++notice_hits;
            std::unique_lock lock(m_);
            // Waits as a slow server would, unless the test is over.
            released_cv_.wait_for(lock, delay_, [this] { return released_; });
            res.status = status_;
            res.set_content(body_, "text/html; charset=utf-8");
        });
        server_.Get("/probe", [](const httplib::Request&, httplib::Response& res) { res.set_content("ok", "text/plain"); });
        server_.Get("/hang", [this](const httplib::Request&, httplib::Response& res) {
            std::unique_lock lock(m_);
            ++hang_waiting;
            released_cv_.wait_for(lock, std::chrono::seconds(60), [this] { return released_; });
            --hang_waiting;
            res.set_content(section("<P>最新订购活动=太晚了</P>"), "text/html; charset=utf-8");
        });
        port_ = server_.bind_to_any_port("127.0.0.1");
        thread_ = std::thread([this] { server_.listen_after_bind(); });
    }
    ~PageServer()
    {
        release();
        server_.stop();
        thread_.join();
    }
    PageServer(const PageServer&) = delete;
    PageServer& operator=(const PageServer&) = delete;

    void serve(std::string body, int status = 200, std::chrono::milliseconds delay = {})
    {
        std::lock_guard lock(m_);
        body_ = std::move(body);
        status_ = status;
        delay_ = delay;
    }
    void release()
    {
        std::lock_guard lock(m_);
        released_ = true;
        released_cv_.notify_all();
    }
    bool listening() const { return port_ > 0; }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

    std::atomic<int> notice_hits{0};
    std::atomic<int> hang_waiting{0};

private:
    httplib::Server server_;
    std::thread thread_;
    int port_ = 0;
    std::mutex m_;
    std::condition_variable released_cv_;
    bool released_ = false;
    std::string body_;
    int status_ = 200;
    std::chrono::milliseconds delay_{0};
};

} // namespace page_test
