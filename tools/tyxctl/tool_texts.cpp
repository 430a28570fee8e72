// tool_texts.cpp - the tool's texts, one row per text, both languages side by side.
#include "tools/tyxctl/tool_texts.h"

#include <cstring>
#include <iterator>

namespace tooltext {
namespace {

struct Row {
  Id id;
  const char* english;
  const char* chinese;
};

constexpr Row kRows[] = {
    {Id::UnknownCommand, "unknown command \"%1\"; commands: %2", "未知命令 \"%1\"；可用命令：%2"},
    {Id::UnknownOption, "unknown option \"%1\" for %2; see tyxctl %2 --help",
     "%2 不接受选项 \"%1\"；见 tyxctl %2 --help"},
    {Id::OptionNeedsValue, "option %1 needs a value; see tyxctl %2 --help", "选项 %1 需要一个值；见 tyxctl %2 --help"},
    {Id::NeedsPort, "%1 needs a port: -p PORT (ports: %2)", "%1 需要端口：-p 端口（端口：%2）"},
    {Id::UnknownPort, "unknown port \"%1\"; ports: %2", "未知端口 \"%1\"；端口：%2"},
    {Id::MissingArgument, "%1 needs %2; see tyxctl %1 --help", "%1 需要 %2；见 tyxctl %1 --help"},
    {Id::ExtraArgument, "unexpected argument \"%1\" for %2; see tyxctl %2 --help",
     "%2 不接受参数 \"%1\"；见 tyxctl %2 --help"},
    {Id::BadLanguage, "--lang takes en or zh, not \"%1\"", "--lang 只接受 en 或 zh，而不是 \"%1\""},
    {Id::NoLibrary, "the camera library %1 cannot be loaded: %2", "无法加载相机库 %1：%2"},
    {Id::NoCamera, "no camera answers on %1: %2", "端口 %1 无相机应答：%2"},
    {Id::NoCameraAnywhere, "no camera answers on any port", "所有端口均无相机应答"},
    {Id::NotNetworkPort, "%1 takes a network port (NetPort1 to NetPort4), not \"%2\"",
     "%1 只接受网络端口（NetPort1 至 NetPort4），而不是 \"%2\""},
    {Id::BadAddress, "\"%1\" is not an IPv4 address: four numbers 0 to 255 with dots, not 0.0.0.0 or 255.255.255.255",
     "\"%1\" 不是 IPv4 地址：应为用点分隔的四个 0 到 255 的数，且不是 0.0.0.0 或 255.255.255.255"},
    {Id::NotUsbImage, "the camera on %1 (type %2) delivers no USB images; grab takes the USB image cameras",
     "端口 %1 的相机（型号 %2）不提供 USB 图像；grab 只用于 USB 图像相机"},
    {Id::BadImageName, "the image file must end in .bmp or .png: \"%1\"", "图像文件名须以 .bmp 或 .png 结尾：\"%1\""},
    {Id::BadCount, "--count takes a whole number from 1 to %2, not \"%1\"", "--count 只接受 1 到 %2 的整数，而不是 \"%1\""},
    {Id::NoFrame, "no frame from the camera on %1", "端口 %1 的相机没有送出图像"},
    {Id::SaveFailed, "%1 not saved: %2", "%1 未能保存：%2"},
    {Id::Saved, "saved %1", "已保存 %1"},
    {Id::Done, "%1: done", "%1：完成"},
    {Id::UnknownName, "unknown name \"%1\"; names: %2", "未知名称 \"%1\"；可用名称：%2"},
    {Id::NotANumber, "%1: \"%2\" is not a whole number", "%1：\"%2\" 不是整数"},
    {Id::BadWord, "%1: \"%2\" is neither a number nor one of: %3", "%1：\"%2\" 既不是数字也不是以下之一：%3"},
    {Id::ValueRefused, "%1=%2 refused: %3; nothing written", "%1=%2 被拒绝：%3；未写入任何值"},
    {Id::ValueRefusedAfter, "%1=%2 refused: %3; the values before it stay written",
     "%1=%2 被拒绝：%3；之前的值已写入"},
    {Id::NotOnThisCamera, "%1 is not a setting of the camera on %2 (type %3)", "%1 不是端口 %2 上相机（型号 %3）的设置"},
    {Id::NotAssignment, "set takes NAME=VALUE, not \"%1\"", "set 只接受 名称=值，而不是 \"%1\""},
    {Id::NoNetCameras, "no network camera answers", "没有网络相机应答"},
    {Id::LabelType, "type", "型号代码"},
    {Id::LabelModel, "model", "型号"},
    {Id::LabelVersion, "version", "版本"},
    {Id::LabelDriver, "driver", "驱动"},
    {Id::LabelPort, "port", "端口"},
    {Id::LabelTags, "tags", "功能标识"},
    {Id::LabelLinked, "linked", "连接"},
    {Id::LabelFile, "file", "文件"},
    {Id::LabelFrameRate, "frame rate", "帧率"},
};

}  // namespace

QString text(Id id, bool chinese) {
  for (const Row& row : kRows)
    if (row.id == id) return QString::fromUtf8(chinese ? row.chinese : row.english);
  return {};
}

}  // namespace tooltext

namespace tooltext {

QString format(Id id, bool chinese, const QStringList& values) {
  const QString pattern = text(id, chinese);
  QString result;
  for (int i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1].isDigit() && pattern[i + 1] != '0') {
      const int n = pattern[i + 1].digitValue();
      if (n <= values.size()) {
        result += values[n - 1];
        ++i;
        continue;
      }
    }
    result += pattern[i];
  }
  return result;
}

}  // namespace tooltext

namespace tooltext {
namespace {

// The Chinese line of each value in the help's name list; the English line
// is the value's own summary in its description.
struct SummaryRow {
  const char* name;
  const char* chinese;
};

constexpr SummaryRow kChineseSummaries[] = {
    {"gain", "增益"},
    {"black", "黑电平"},
    {"brightness", "亮度"},
    {"begin-line", "局部窗口的起始行"},
    {"end-line", "局部窗口的结束行"},
    {"exposure-us", "曝光时间，由相机库换算成行"},
    {"exposure-lines", "以传感器行计的曝光"},
    {"short-exposure", "短曝光的细调部分，按相机库的换算"},
    {"rate", "相机帧频列表中的位置"},
    {"run-mode", "运行模式或触发方式"},
    {"frame-mode", "全图、局部、PAL/NTSC 或多帧平均"},
    {"output-mode", "摄像机图像或测试图"},
    {"rise-delay-us", "沿触发的上升沿延时"},
    {"fall-delay-us", "沿触发的下降沿延时"},
    {"protect-time-ms", "沿触发的保护时间"},
    {"gamma", "GAMMA 设置"},
    {"r-gain", "红色增益"},
    {"g-gain", "绿色增益"},
    {"b-gain", "蓝色增益"},
    {"saturation", "饱和度"},
    {"white-balance", "启动自动白平衡 (1)"},
    {"radius", "电子圆半径"},
    {"circle-x", "电子圆圆心 x"},
    {"circle-y", "电子圆圆心 y"},
    {"r-brightness", "红色亮度"},
    {"g-brightness", "绿色亮度"},
    {"b-brightness", "蓝色亮度"},
    {"all-contrast", "全部通道的对比度"},
    {"model-contrast", "对比度"},
    {"model-saturation", "饱和度"},
    {"extinction-target", "自动曝光的目标"},
    {"auto-extinction", "自动曝光"},
    {"auto-white-balance", "自动白平衡"},
    {"resolution-setting", "视频模式的设置方式"},
    {"resolution", "视频分辨率"},
    {"frame-rate", "视频帧率"},
    {"sensor-speed", "传感器速度"},
    {"manual-white-balance", "一次手动白平衡 (1)"},
    {"save-value", "保存值"},
    {"open-value", "打开值"},
    {"x-shift", "图像水平偏移"},
    {"y-shift", "图像垂直偏移"},
    {"edge-enhance", "边缘增强"},
    {"model-exposure-lines", "以行计的曝光；显示相机自己的读数"},
    {"text-display", "字符叠加显示"},
    {"display-mode", "全屏或半屏显示"},
    {"image-aspect", "图像比例：16:9、带缩放 4:3 或无缩放 4:3"},
    {"colour-mode", "色彩模式"},
    {"horizontal-inverse", "左右镜像"},
    {"vertical-inverse", "上下镜像"},
    {"usb-exposure-us", "USB 图像型号的曝光"},
    {"recursion", "递归降噪"},
    {"negative-image", "负片图像"},
    {"work-mode", "工作模式"},
    {"output-format", "Camera Link 输出格式（列表中的位置）"},
    {"test-image", "实时图像或测试图（列表中的位置）"},
    {"correction-start", "红行或蓝行在前"},
    {"correction-lines", "位置校正的行数"},
    {"data-shift", "数据移位（位）"},
    {"aoi-start", "AOI 的第一个像素"},
    {"aoi-length", "AOI 长度"},
    {"time1", "工作模式的 Time1"},
    {"time2", "工作模式的 Time2"},
    {"gain-level", "增益档 1..4 (0..3)"},
    {"red-gain", "红色增益"},
    {"green-gain", "绿色增益"},
    {"blue-gain", "蓝色增益"},
    {"red-offset", "红色偏置"},
    {"green-offset", "绿色偏置"},
    {"blue-offset", "蓝色偏置"},
    {"overall-gain", "总增益"},
    {"overall-offset", "总偏置"},
};

}  // namespace

QString valueSummary(const char* name, const char* english, bool chinese) {
  if (chinese)
    for (const SummaryRow& row : kChineseSummaries)
      if (std::strcmp(row.name, name) == 0) return QString::fromUtf8(row.chinese);
  return QString::fromUtf8(english);
}

bool hasChineseSummary(const char* name) {
  for (const SummaryRow& row : kChineseSummaries)
    if (std::strcmp(row.name, name) == 0) return true;
  return false;
}

}  // namespace tooltext
