// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "workbench/workbench.h"

#include "base/runtime_error.h"

#include "workbench/input_box.h"
#include "workbench/picture_file_dialog.h"

#include <QDialog>

Workbench::Workbench(Session& session, Services services) : m_session(session), m_services(std::move(services))
{
    if (!m_services.runModal)
        m_services.runModal = [](QDialog& dialog) { dialog.exec(); };
    if (!m_services.askText)
        m_services.askText = &InputBox::ask;
    if (!m_services.chooseImage)
        m_services.chooseImage = &choosePictureFile;
}

Workbench::~Workbench()
{
    for (auto& [type, window] : m_instances)
        delete window.data();
}

void Workbench::release(QWidget* window)
{
    for (auto& [type, slot] : m_instances)
        if (slot == window)
            slot = nullptr;
}

KioskSystem& Workbench::kioskSystem() const
{
    if (!m_kioskSystem)
        Errors::raise(Errors::InvalidArgument);
    return *m_kioskSystem;
}
