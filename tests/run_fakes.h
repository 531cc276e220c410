#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "board.h"
#include "run_services.h"

// Fakes that write what they are asked into one shared log, so the order of a run's steps
// shows.
struct RunLog {
    std::vector<std::string> entries;
    int blueSegments = 0;
};

class LoggingCue final : public buffon::CuePlayer {
public:
    explicit LoggingCue(RunLog& log) : log_(log) {}
    void PlayCue(const std::string& fileName) override
    {
        log_.entries.push_back("cue " + fileName);
        if (refuse) {
            throw std::runtime_error("cue refused");
        }
    }
    bool refuse = false;

private:
    RunLog& log_;
};

class LoggingBoard final : public buffon::Board {
public:
    explicit LoggingBoard(RunLog& log) : log_(log) {}
    void Clear() override { log_.entries.push_back("clear"); }
    void DrawSegment(float x1, float y1, float x2, float y2, buffon::PaletteIndex colour) override
    {
        if (++segments == failAtSegment) {
            throw std::runtime_error("board failed");
        }
        log_.blueSegments += colour == buffon::PaletteIndex::LightBlue;
        log_.entries.push_back("segment " + std::to_string(int(x1)) + "," +
                               std::to_string(int(y1)) + " " + std::to_string(int(x2)) + "," +
                               std::to_string(int(y2)) + " colour " + std::to_string(int(colour)));
    }
    int segments = 0;
    int failAtSegment = -1;

private:
    RunLog& log_;
};

class FixedClock final : public buffon::Clock {
public:
    explicit FixedClock(RunLog& log, float seconds) : log_(log), seconds_(seconds) {}
    float SecondsSinceMidnight() override
    {
        log_.entries.push_back("clock");
        return seconds_;
    }

private:
    RunLog& log_;
    float seconds_;
};

class LoggingCaption final : public buffon::Caption {
public:
    LoggingCaption(RunLog& log, std::string name, std::string text = "earlier")
        : text(std::move(text)), log_(log), name_(std::move(name))
    {
    }
    void SetCaption(const std::string& caption) override
    {
        text = caption;
        log_.entries.push_back(name_ + " \"" + caption + "\"");
    }
    std::string text;

private:
    RunLog& log_;
    std::string name_;
};
