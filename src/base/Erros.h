#pragma once
// Exceções do pisco: what() é o texto que o usuário lê (pt-BR).
#include <stdexcept>
#include <string>

class EPisco : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EConversao : public EPisco { using EPisco::EPisco; };       // texto/valor inválido
class EBancoDados : public EPisco { using EPisco::EPisco; };      // conexão, SQL, parâmetros
class EEntradaInvalida : public EPisco { using EPisco::EPisco; }; // entrada do usuário
