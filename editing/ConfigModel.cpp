#include "editing/ConfigModel.h"

#include "core/ProgramContext.h"

ConfigModel::ConfigModel(ProgramContext& context, QObject* parent)
    : QObject(parent), m_context(context), m_announced(context.unsavedChanges)
{
}

bool ConfigModel::isModified() const { return m_context.unsavedChanges; }

void ConfigModel::setModified(bool modified)
{
    m_context.unsavedChanges = modified;
    if (m_announced == modified)
        return;
    m_announced = modified;
    emit modifiedChanged(modified);
}

void ConfigModel::replaced() { emit changed(); }

void ConfigModel::languageSwitched(int language) { emit languageChanged(language); }
