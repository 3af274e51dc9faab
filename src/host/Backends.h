#pragma once
// Fábricas dos backends (uso interno de TDatabase::Conectar e dos testes).
#include <memory>
#include <string>

#include "host/Database.h"

std::unique_ptr<TDatabase> ConectarSQLite(const std::string& ACaminho, TModoAbertura AModo);
std::unique_ptr<TDatabase> ConectarPostgreSQL(const std::string& AURI);
