#include "PtyDevice.h"

#include <array>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <stdexcept>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::array<std::pair<speed_t, int>, 26> kSpeeds{{
    {B50, 50},           {B75, 75},           {B110, 110},         {B134, 134},
    {B150, 150},         {B200, 200},         {B300, 300},         {B600, 600},
    {B1200, 1200},       {B1800, 1800},       {B2400, 2400},       {B4800, 4800},
    {B9600, 9600},       {B19200, 19200},     {B38400, 38400},     {B57600, 57600},
    {B115200, 115200},   {B230400, 230400},   {B460800, 460800},   {B500000, 500000},
    {B576000, 576000},   {B921600, 921600},   {B1000000, 1000000}, {B1152000, 1152000},
    {B1500000, 1500000}, {B2000000, 2000000},
}};

} // namespace

PtyDevice::PtyDevice() {
    char name[256] = {};
    if (openpty(&m_master, &m_hold, name, nullptr, nullptr) != 0) {
        throw std::runtime_error(std::string("openpty: ") + std::strerror(errno));
    }
    m_path = QString::fromLocal8Bit(name);
    // Raw until the program sets its own line: no echo of commands back to us, no
    // translation of CR or LF in either direction.
    termios raw{};
    if (tcgetattr(m_hold, &raw) == 0) {
        cfmakeraw(&raw);
        tcsetattr(m_hold, TCSANOW, &raw);
    }
    fcntl(m_master, F_SETFL, fcntl(m_master, F_GETFL) | O_NONBLOCK);
    fcntl(m_master, F_SETFD, FD_CLOEXEC);
    fcntl(m_hold, F_SETFD, FD_CLOEXEC);
}

PtyDevice::~PtyDevice() {
    ReleaseHold();
    if (m_master >= 0) {
        close(m_master);
    }
}

int PtyDevice::LineSpeed() const {
    termios line{};
    // On the master this reports the settings the program made on the slave.
    if (tcgetattr(m_master, &line) != 0) {
        return 0;
    }
    const speed_t speed = cfgetospeed(&line);
    for (const auto& [code, rate] : kSpeeds) {
        if (code == speed) {
            return rate;
        }
    }
    return 0;
}

void PtyDevice::ReleaseHold() {
    if (m_hold >= 0) {
        close(m_hold);
        m_hold = -1;
    }
}
