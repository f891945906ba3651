#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "ui/run/guiHandOver.h"

TEST(GuiHandOverTest, WorkRunsOnTheWindowThreadInTheOrderHandedOver) {
    QObject window;
    GuiHandOver handOver(&window);
    std::vector<int> order;
    std::atomic<bool> done{false};
    QThread* const guiThread = QThread::currentThread();
    bool allOnGuiThread = true;

    std::thread worker([&] {
        handOver.run([&] {
            allOnGuiThread = allOnGuiThread && QThread::currentThread() == guiThread;
            order.push_back(1);
        });
        handOver.post([&] {
            allOnGuiThread = allOnGuiThread && QThread::currentThread() == guiThread;
            order.push_back(2);
        });
        handOver.run([&] { order.push_back(3); });
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    worker.join();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(allOnGuiThread);
}

TEST(GuiHandOverTest, ClosingFreesAWaitingWorkerAndDropsItsWork) {
    QObject window;
    GuiHandOver handOver(&window);
    std::atomic<bool> handing{false};
    bool ran = false;

    // The GUI thread serves no event while the worker waits: only closing frees it.
    std::thread worker([&] {
        handing = true;
        handOver.run([&] { ran = true; });
        handOver.run([&] { ran = true; });
        handOver.post([&] { ran = true; });
    });
    while (!handing) {
        std::this_thread::yield();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    handOver.close();
    worker.join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(ran);
}
