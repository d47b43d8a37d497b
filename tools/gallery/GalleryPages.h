#pragma once

class QWidget;

// Each page shows one control in its states; main() puts them in tabs.
QWidget* makeDigitGalleryPage(QWidget* parent);
QWidget* makeStopNameGalleryPage(QWidget* parent);
